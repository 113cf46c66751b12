// The usage report's body over any window caption, branch name and tax
// number. Read back from Windows-1252, it must always be a JSON object with
// exactly the six members, each value the text that went in (the number as
// the formatter lays it out); and it must keep its eight-line layout, one
// member per line, whatever the values hold (quotes, reverse solidi, line
// breaks, control characters, bytes above 127).
#include <algorithm>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QList>
#include <QStringList>

#include "Exigencia.h"

#include "platform/VersaoSistema.h"
#include "platform/Windows1252.h"
#include "usage/TFilial.h"
#include "usage/TFuncoes.h"
#include "usage/TSessao.h"
#include "usage/TThreadDataAnalyticsRest.h"

namespace {

struct Membro {
  QString nome;
  QString valor;
  int espacos;
};

// Cuts the next field off the input: its length is the next byte, bounded by
// what is left.
QByteArray Campo(const unsigned char*& dados, size_t& tamanho) {
  if (tamanho == 0) return {};
  size_t n = dados[0];
  ++dados;
  --tamanho;
  n = std::min(n, tamanho);
  const QByteArray campo(reinterpret_cast<const char*>(dados), qsizetype(n));
  dados += n;
  tamanho -= n;
  return campo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho) {
  static const bool versaoDefinida = [] {
    DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));
    return true;
  }();
  (void)versaoDefinida;

  // Every field is Windows-1252, as captions and database texts leave the
  // program, so each one must come back exactly.
  const QString rotina = Windows1252::paraUnicode(Campo(dados, tamanho));
  const QString nome = Windows1252::paraUnicode(Campo(dados, tamanho));
  const QString cnpj = Windows1252::paraUnicode(reinterpret_cast<const char*>(dados), qsizetype(tamanho));

  static TFilial filial;
  filial.Nome = nome;
  filial.CNPJ = cnpj;
  TSessao& sessao = TSessao::getInstancia();
  sessao.SetFilialLogada(&filial);

  TThreadDataAnalyticsRest relato(taRotina);
  relato.MontarCorpo(rotina);
  const QByteArray corpo = relato.Corpo();

  const QList<Membro> membros = {
      {QStringLiteral("nomeUsuario"), sessao.getNomeUsuario(), 19},
      {QStringLiteral("unit"), QString::fromLatin1(TThreadDataAnalyticsRest::Unit()), 41},
      {QStringLiteral("rotina"), rotina, 43},
      {QStringLiteral("cnpj"), TFuncoes::FormatarCpfCnpj(cnpj), 5},
      {QStringLiteral("nomeCnpj"), nome, 18},
      {QStringLiteral("versao"), QString::fromLatin1(kVersaoSistema), 36},
  };

  // A JSON object with the six members and nothing else, each value intact.
  const QString texto = Windows1252::paraUnicode(corpo);
  QJsonParseError erro;
  const QJsonDocument documento = QJsonDocument::fromJson(texto.toUtf8(), &erro);
  EXIGIR(erro.error == QJsonParseError::NoError,
         QStringLiteral("JSON inválido na posição %1: %2").arg(erro.offset).arg(erro.errorString()));
  EXIGIR(documento.isObject(), "o corpo não é um objeto JSON");
  const QJsonObject objeto = documento.object();
  EXIGIR(objeto.size() == membros.size(), QStringLiteral("%1 membros, esperados 6").arg(objeto.size()));
  for (const Membro& m : membros) {
    EXIGIR(objeto.value(m.nome).isString(), QStringLiteral("membro %1 ausente ou não é texto").arg(m.nome));
    EXIGIR(objeto.value(m.nome).toString() == m.valor,
           QStringLiteral("membro %1: \"%2\", esperado \"%3\"").arg(m.nome, objeto.value(m.nome).toString(), m.valor));
  }

  // Eight lines: escaping keeps every line break of a value out of the layout.
  const QList<QByteArray> linhas = corpo.split('\n');
  EXIGIR(linhas.size() == 8, QStringLiteral("%1 linhas, esperadas 8").arg(linhas.size()));
  EXIGIR(linhas[0] == "{" + QByteArray(71, ' ') + "\r", "primeira linha fora do formato");
  EXIGIR(linhas[7] == "}", "última linha fora do formato");
  for (qsizetype k = 0; k < membros.size(); ++k) {
    const Membro& m = membros[k];
    const QByteArray& linha = linhas[k + 1];
    const QByteArray inicio = " \"" + m.nome.toLatin1() + "\": \"";
    QByteArray fim = "\"";
    if (k + 1 < membros.size()) fim += ',';
    fim += QByteArray(m.espacos, ' ') + "\r";
    EXIGIR(linha.startsWith(inicio) && linha.endsWith(fim), QStringLiteral("linha %1 fora do formato").arg(k + 2));
    // Inside the quotes: no raw control character, no bare quotation mark.
    const QByteArray valor = linha.mid(inicio.size(), linha.size() - inicio.size() - fim.size());
    for (qsizetype i = 0; i < valor.size(); ++i) {
      const auto b = static_cast<unsigned char>(valor[i]);
      EXIGIR(b >= 0x20, QStringLiteral("linha %1: caractere de controle sem escape").arg(k + 2));
      if (b == '\\')
        ++i;
      else
        EXIGIR(b != '"', QStringLiteral("linha %1: aspas sem escape").arg(k + 2));
    }
  }

  sessao.SetFilialLogada(nullptr);
  return 0;
}
