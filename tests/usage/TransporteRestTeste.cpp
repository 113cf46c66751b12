#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "TransporteCarregado.h"
#include "platform/BibliotecaDinamica.h"
#include "platform/Falha.h"
#include "platform/OleString.h"
#include "platform/TextoOle.h"
#include "usage/TRESTBuilder.h"
#include "usage/TRESTExecutor.h"

namespace {

// Packed fields are unaligned: gtest binds references to its arguments, so
// they are compared as copies.
BSTR Valor(BSTR texto) { return texto; }

constexpr std::size_t kTexto = sizeof(void*);

std::unique_ptr<TRESTExecutor> ExecutorCompleto(TRESTBuilder& builder) {
  builder.SetRequestType(2)
      .SetBaseUrl(QStringLiteral(" http://servidor/api "))
      .SetRoute(QStringLiteral("/rotina"))
      .SetBody(QStringLiteral("{\"a\": \"ç\"}"))
      .SetAuxText2(QStringLiteral("aux"));
  return builder.Build();
}

QString FalhaDoExecute(TRESTExecutor& executor) {
  try {
    executor.Execute();
  } catch (const Falha& falha) {
    return falha.Mensagem();
  }
  return QStringLiteral("<executado>");
}

void* Ponteiro(const unsigned char* bytes, std::size_t deslocamento) {
  void* ponteiro;
  std::memcpy(&ponteiro, bytes + deslocamento, sizeof ponteiro);
  return ponteiro;
}

}  // namespace

TEST(TransporteRest, BibliotecaRecebeORegistroEmBytesERespostaEhCopiadaELiberada) {
  const TransporteCarregado transporte = TransporteCarregado::Usar();
  const long vivas = OleString::Vivas();
  {
    TRESTBuilder builder;
    auto executor = ExecutorCompleto(builder);
    executor->Execute();
    ASSERT_EQ(transporte.Aguardar(1), 1);
    const RegistroTransporte& registro = transporte.Registro();

    // The record by value, then two zero bytes.
    const unsigned char* bytes = registro.Argumento;
    EXPECT_EQ(sizeof registro.Argumento, 2 + 6 * kTexto + 2);
    EXPECT_EQ(bytes[0], 2);  // RequestType
    EXPECT_EQ(bytes[1], 2);  // BodyKind
    EXPECT_EQ(bytes[2 + 6 * kTexto], 0);
    EXPECT_EQ(bytes[2 + 6 * kTexto + 1], 0);
    EXPECT_NE(Ponteiro(bytes, 2), nullptr);
    EXPECT_EQ(Ponteiro(bytes, 2 + 2 * kTexto), nullptr);  // AuxText1, never set
    // The library got copies made for the call, not the executor's texts.
    EXPECT_NE(Ponteiro(bytes, 2), Valor(executor->Request().BaseUrl));
    EXPECT_NE(Ponteiro(bytes, 2 + 5 * kTexto), Valor(executor->Request().Body));

    EXPECT_EQ(registro.Textos[0], u"http://servidor/api");
    EXPECT_EQ(registro.Textos[1], u"/rotina");
    EXPECT_EQ(registro.Textos[2], u"");
    EXPECT_EQ(registro.Textos[3], u"aux");
    EXPECT_EQ(registro.Textos[4], u"curl");
    EXPECT_EQ(registro.Textos[5], u"{\"a\": \"ç\"}");
    EXPECT_EQ(registro.Prefixos[0], 2 * 19u);
    EXPECT_EQ(registro.Prefixos[4], 2 * 4u);
    // The response was handed over zero-filled.
    for (unsigned char byte : registro.RespostaNaEntrada) EXPECT_EQ(byte, 0);

    EXPECT_TRUE(executor->Executed());
    const TRESTResponseDTO& resposta = executor->Response();
    const std::uint8_t fixo[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(std::memcmp(resposta.FixedPart, fixo, 5), 0);
    EXPECT_EQ(TextoOle::Ler(resposta.Content), QStringLiteral("{\"ok\":true}"));
    EXPECT_NE(Valor(resposta.Content), registro.ConteudoEntregue);
    // Executor and builder hold their texts and the response; the library's
    // string and the copy lent to it are gone.
    EXPECT_EQ(OleString::Vivas(), vivas + 5 + 5 + 1);

    // Execute does not look at FExecuted: it runs again.
    executor->Execute();
    EXPECT_EQ(transporte.Aguardar(2), 2);
    EXPECT_EQ(OleString::Vivas(), vivas + 5 + 5 + 1);
  }
  EXPECT_EQ(OleString::Vivas(), vivas);
}

TEST(TransporteRest, BibliotecaAusenteDaAMensagemEOProximoSendTentaDeNovo) {
  QTemporaryDir pasta;
  ASSERT_TRUE(pasta.isValid());
  const QString arquivo = pasta.filePath(BibliotecaDinamica::NomeArquivo(QStringLiteral("VelmoraREST")));
  EXPECT_TRUE(arquivo.endsWith(QStringLiteral("/libVelmoraREST.so")));
  TRESTBO::SetCaminhoBiblioteca(arquivo);
  const long vivas = OleString::Vivas();
  {
    TRESTBuilder builder;
    auto executor = ExecutorCompleto(builder);
    EXPECT_EQ(FalhaDoExecute(*executor), "Erro ao carregar a biblioteca VelmoraREST.dll.");
    EXPECT_FALSE(executor->Executed());
    EXPECT_EQ(Valor(executor->Response().Content), nullptr);
    EXPECT_FALSE(TRESTBO::Carregado());

    // The library appears where it was looked for: the next Send loads it.
    ASSERT_TRUE(QFile::copy(QStringLiteral(PAINEL_TRANSPORTE_TESTE), arquivo));
    EXPECT_EQ(FalhaDoExecute(*executor), "<executado>");
    EXPECT_TRUE(TRESTBO::Carregado());
    EXPECT_NE(dlopen(QFile::encodeName(arquivo).constData(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_TRUE(executor->Executed());
    EXPECT_EQ(TextoOle::Ler(executor->Response().Content), QStringLiteral("{\"ok\":true}"));

    // A later transport failure keeps the former response and flag.
    TRESTBO::SetCaminhoBiblioteca(pasta.filePath(QStringLiteral("nenhuma.so")));
    EXPECT_EQ(FalhaDoExecute(*executor), "Erro ao carregar a biblioteca VelmoraREST.dll.");
    EXPECT_TRUE(executor->Executed());
    EXPECT_EQ(TextoOle::Ler(executor->Response().Content), QStringLiteral("{\"ok\":true}"));
  }
  EXPECT_EQ(OleString::Vivas(), vivas);

  // By default the platform's name is looked for, and it is not installed here.
  TRESTBO::SetCaminhoBiblioteca(QString());
  TRESTBuilder builder;
  auto executor = ExecutorCompleto(builder);
  EXPECT_EQ(FalhaDoExecute(*executor), "Erro ao carregar a biblioteca VelmoraREST.dll.");
}

TEST(TransporteRest, BibliotecaSemRequestTerminaComErro) {
  TRESTBO::SetCaminhoBiblioteca(QStringLiteral(PAINEL_TRANSPORTE_SEM_REQUEST));
  const long vivas = OleString::Vivas();
  {
    TRESTBuilder builder;
    auto executor = ExecutorCompleto(builder);
    const QString falha = FalhaDoExecute(*executor);
    EXPECT_EQ(falha, "A biblioteca VelmoraREST.dll não tem a função Request.");
    EXPECT_FALSE(executor->Executed());
    EXPECT_EQ(Valor(executor->Response().Content), nullptr);
    // Loaded all the same: the instance is kept.
    EXPECT_TRUE(TRESTBO::Carregado());
  }
  EXPECT_EQ(OleString::Vivas(), vivas);
}
