#include "usage/TThreadDataAnalyticsRest.h"

#include <memory>

#include "platform/VersaoSistema.h"
#include "platform/ApartamentoCom.h"
#include "platform/Windows1252.h"
#include "usage/ParametrosAnalytics.h"
#include "usage/TFuncoes.h"
#include "usage/TRESTBuilder.h"
#include "usage/TRESTExecutor.h"
#include "usage/TSessao.h"

namespace {

constexpr std::uint8_t kTipoRequisicaoRotina = 2;

#if defined(__clang__)
constexpr const char* kToolchain = "Clang " __clang_version__;
#elif defined(__GNUC__)
constexpr const char* kToolchain = "GCC " __VERSION__;
#elif defined(_MSC_VER)
#define PAINEL_TEXTO(x) #x
#define PAINEL_VERSAO(x) PAINEL_TEXTO(x)
constexpr const char* kToolchain = "MSVC " PAINEL_VERSAO(_MSC_VER);
#else
constexpr const char* kToolchain = "C++";
#endif

// JSON string content: quotation mark, reverse solidus and control characters
// escaped; every other byte, also above 127, as it is.
QByteArray Escapar(const QByteArray& texto) {
  static const char kHex[] = "0123456789abcdef";
  QByteArray saida;
  saida.reserve(texto.size());
  for (char c : texto) {
    const auto b = static_cast<unsigned char>(c);
    switch (b) {
      case '"': saida += "\\\""; break;
      case '\\': saida += "\\\\"; break;
      case '\b': saida += "\\b"; break;
      case '\f': saida += "\\f"; break;
      case '\n': saida += "\\n"; break;
      case '\r': saida += "\\r"; break;
      case '\t': saida += "\\t"; break;
      default:
        if (b < 0x20) {
          saida += "\\u00";
          saida += kHex[b >> 4];
          saida += kHex[b & 0xF];
        } else {
          saida += c;
        }
    }
  }
  return saida;
}

QByteArray Membro(const char* nome, const QByteArray& valor, bool virgula, int espacos) {
  QByteArray linha = " \"";
  linha += nome;
  linha += "\": \"";
  linha += Escapar(valor);
  linha += '"';
  if (virgula) linha += ',';
  linha += QByteArray(espacos, ' ');
  linha += "\r\n";
  return linha;
}

}  // namespace

TThreadDataAnalyticsRest::TThreadDataAnalyticsRest(TTipoAnalytics tipo) : FTipo(tipo) {}

void TThreadDataAnalyticsRest::EnviarRotina(const QString& rotina) noexcept {
  try {
    auto relato = std::make_unique<TThreadDataAnalyticsRest>(taRotina);
    relato->MontarCorpo(rotina);
    relato->Start();
    relato.release();  // from now on it belongs to its thread, which frees it
  } catch (...) {
    // A report that could not be built or started is released and forgotten.
  }
}

void TThreadDataAnalyticsRest::MontarCorpo(const QString& rotina) {
  TSessao& sessao = TSessao::getInstancia();
  const QString usuario = sessao.getNomeUsuario();
  const QString cnpj = TFuncoes::FormatarCpfCnpj(sessao.getFilialLogada().CNPJ);
  const QString nomeFilial = sessao.getFilialLogada().Nome;
  const QString versao = VersaoSistema();

  QByteArray corpo = "{";
  corpo += QByteArray(71, ' ');
  corpo += "\r\n";
  corpo += Membro("nomeUsuario", Windows1252::deUnicode(usuario), true, 19);
  corpo += Membro("unit", Unit(), true, 41);
  corpo += Membro("rotina", Windows1252::deUnicode(rotina), true, 43);
  corpo += Membro("cnpj", Windows1252::deUnicode(cnpj), true, 5);
  corpo += Membro("nomeCnpj", Windows1252::deUnicode(nomeFilial), true, 18);
  corpo += Membro("versao", Windows1252::deUnicode(versao), false, 36);
  corpo += '}';
  FCorpo = corpo;
}

QString TThreadDataAnalyticsRest::ObterRota(TTipoAnalytics tipo) {
  return tipo == taRotina ? QStringLiteral("/rotina") : QString();
}

QByteArray TThreadDataAnalyticsRest::Unit() { return QByteArray("Sem Unit - ") + kToolchain; }

void TThreadDataAnalyticsRest::EnviarRequisicao() {
  TRESTBuilder builder;
  const QString rota = ObterRota(FTipo);
  builder.SetRequestType(kTipoRequisicaoRotina)
      .SetBaseUrl(URLBaseAnalytics())
      .SetRoute(rota)
      .SetBody(FCorpo)
      .SetAuxText2(TextoAuxiliarAnalytics());
  std::unique_ptr<TRESTExecutor> executor = builder.Build();
  executor->Execute();
}

void TThreadDataAnalyticsRest::Execute() {
  ApartamentoCom apartamento;
  try {
    EnviarRequisicao();
  } catch (...) {
    // Reports fail silently.
  }
}
