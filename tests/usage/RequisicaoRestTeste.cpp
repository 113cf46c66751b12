#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "platform/Falha.h"
#include "platform/OleString.h"
#include "platform/TextoOle.h"
#include "usage/TRESTBuilder.h"
#include "usage/TRESTExecutor.h"

namespace {

// Packed fields are unaligned: gtest binds references to its arguments, so
// they are compared as copies.
BSTR Valor(BSTR texto) { return texto; }

QString FalhaDoBuild(const TRESTBuilder& builder) {
  try {
    builder.Build();
  } catch (const Falha& falha) {
    return falha.Mensagem();
  }
  return QStringLiteral("<aceito>");
}

QString Texto(BSTR texto) { return TextoOle::Ler(texto); }

}  // namespace

TEST(RequisicaoRest, PadroesEValidacaoNaOrdemUrlRotaTipo) {
  const long vivas = OleString::Vivas();
  {
    TRESTBuilder padrao;
    const TRESTRequestDTO& r = padrao.Request();
    EXPECT_EQ(r.RequestType, 0);
    EXPECT_EQ(r.BodyKind, 0);
    EXPECT_EQ(Valor(r.BaseUrl), nullptr);
    EXPECT_EQ(Texto(r.Route), "/");
    EXPECT_EQ(Valor(r.AuxText1), nullptr);
    EXPECT_EQ(Valor(r.AuxText2), nullptr);
    EXPECT_EQ(Texto(r.UserAgent), "curl");
    EXPECT_EQ(Valor(r.Body), nullptr);
    // The type is missing too, but the base URL is looked at first.
    EXPECT_EQ(FalhaDoBuild(padrao), "URL base da requisição não foi informada.");

    TRESTBuilder semRota;
    semRota.SetBaseUrl(QStringLiteral("http://servidor")).SetRoute(QString()).SetRequestType(2);
    EXPECT_EQ(Valor(semRota.Request().Route), nullptr);
    EXPECT_EQ(FalhaDoBuild(semRota), "Rota da requisição não foi informado.");

    TRESTBuilder semTipo;
    semTipo.SetBaseUrl(QStringLiteral("http://servidor"));
    const BSTR rotaAntes = semTipo.Request().Route;
    EXPECT_EQ(FalhaDoBuild(semTipo), "Tipo da requisição não foi informado.");
    // A refused build leaves the builder as it was.
    EXPECT_EQ(Valor(semTipo.Request().Route), rotaAntes);
    EXPECT_EQ(Texto(semTipo.Request().BaseUrl), "http://servidor");

    TRESTBuilder soBrancos;
    soBrancos.SetBaseUrl(QStringLiteral(" \t \t ")).SetRequestType(2);
    EXPECT_EQ(Valor(soBrancos.Request().BaseUrl), nullptr);
    EXPECT_EQ(FalhaDoBuild(soBrancos), "URL base da requisição não foi informada.");

    // Any non-zero type passes; an empty body still marks the body kind.
    TRESTBuilder completo;
    completo.SetBaseUrl(QStringLiteral("http://servidor")).SetRequestType(255).SetBody(QString());
    EXPECT_EQ(completo.Request().BodyKind, 2);
    EXPECT_EQ(Valor(completo.Request().Body), nullptr);
    auto executor = completo.Build();
    EXPECT_FALSE(executor->Executed());
    EXPECT_EQ(executor->Request().RequestType, 255);
    EXPECT_EQ(executor->Request().BodyKind, 2);
    EXPECT_EQ(Texto(executor->Request().Route), "/");
    // The executor holds its own copy, not the builder's texts.
    EXPECT_NE(Valor(executor->Request().BaseUrl), Valor(completo.Request().BaseUrl));
    EXPECT_EQ(Texto(executor->Request().BaseUrl), "http://servidor");
    const TRESTResponseDTO& resposta = executor->Response();
    for (std::uint8_t byte : resposta.FixedPart) EXPECT_EQ(byte, 0);
    EXPECT_EQ(Valor(resposta.Content), nullptr);
  }
  // Refused executors, builders and executors leave no string behind.
  EXPECT_EQ(OleString::Vivas(), vivas);
}

TEST(RequisicaoRest, AparaCodigosAte32NasPontasComoTextoWindows1252) {
  TRESTBuilder builder;
  builder.SetBaseUrl(QByteArray("\r\n\t http://a b\tc \r\n"))
      .SetRoute(QStringLiteral("\x01\x1f/rota\x7f!\x1f "))
      .SetAuxText2(QByteArray("\0aux\0iliar\0", 11))
      .SetBody(QByteArray("\t{\n\"v\": \"\x80\xe7\"\n}\r\n"));
  EXPECT_EQ(Texto(builder.Request().BaseUrl), "http://a b\tc");
  // 127 and '!' are not trimmed.
  EXPECT_EQ(Texto(builder.Request().Route), "/rota\x7f!");
  EXPECT_EQ(Texto(builder.Request().AuxText2), QString::fromUtf16(u"aux\0iliar", 9));
  // Bytes above 127 are Windows-1252: 0x80 is the euro sign.
  EXPECT_EQ(Texto(builder.Request().Body), QStringLiteral("{\n\"v\": \"€ç\"\n}"));

  // A text given as Unicode is the Windows-1252 text it stands for.
  builder.SetRoute(QStringLiteral(" /ação–Ω "));
  EXPECT_EQ(Texto(builder.Request().Route), QStringLiteral("/ação–?"));

  builder.SetRoute(QStringLiteral("\t\r\n"));
  EXPECT_EQ(Valor(builder.Request().Route), nullptr);
}

TEST(RequisicaoRest, CopiaTextosDeNovoEFinalizacaoLibera) {
  const long vivas = OleString::Vivas();
  TRESTRequestDTO origem;
  origem.RequestType = 7;
  origem.BodyKind = 2;
  origem.BaseUrl = TextoOle::Criar(QStringLiteral("http://x"));
  origem.Body = TextoOle::Criar(QStringLiteral("corpo"));

  TRESTRequestDTO destino;
  destino.Route = TextoOle::Criar(QStringLiteral("/antiga"));
  destino.AuxText1 = TextoOle::Criar(QStringLiteral("antigo"));
  TRESTRequestDTO::Copiar(origem, destino);
  EXPECT_EQ(destino.RequestType, 7);
  EXPECT_EQ(destino.BodyKind, 2);
  EXPECT_NE(Valor(destino.BaseUrl), Valor(origem.BaseUrl));
  EXPECT_EQ(Texto(destino.BaseUrl), "http://x");
  EXPECT_EQ(Texto(destino.Body), "corpo");
  // The former texts of the target were freed, not kept.
  EXPECT_EQ(Valor(destino.Route), nullptr);
  EXPECT_EQ(Valor(destino.AuxText1), nullptr);
  EXPECT_EQ(OleString::Vivas(), vivas + 4);

  TRESTRequestDTO::Copiar(destino, destino);
  EXPECT_EQ(Texto(destino.BaseUrl), "http://x");
  EXPECT_EQ(OleString::Vivas(), vivas + 4);

  TRESTRequestDTO::Finalizar(destino);
  EXPECT_EQ(Valor(destino.BaseUrl), nullptr);
  EXPECT_EQ(Valor(destino.Body), nullptr);
  EXPECT_EQ(destino.RequestType, 7);
  TRESTRequestDTO::Finalizar(origem);
  EXPECT_EQ(OleString::Vivas(), vivas);

  TRESTResponseDTO resposta;
  resposta.FixedPart[0] = 9;
  resposta.FixedPart[4] = 8;
  resposta.Content = TextoOle::Criar(QStringLiteral("conteúdo"));
  TRESTResponseDTO outra;
  outra.Content = TextoOle::Criar(QStringLiteral("velho"));
  TRESTResponseDTO::Copiar(resposta, outra);
  EXPECT_EQ(outra.FixedPart[0], 9);
  EXPECT_EQ(outra.FixedPart[4], 8);
  EXPECT_NE(Valor(outra.Content), Valor(resposta.Content));
  EXPECT_EQ(Texto(outra.Content), QStringLiteral("conteúdo"));
  TRESTResponseDTO::Finalizar(resposta);
  TRESTResponseDTO::Finalizar(outra);
  EXPECT_EQ(Valor(outra.Content), nullptr);
  EXPECT_EQ(OleString::Vivas(), vivas);
}
