// The two panel parameters read once at start.

#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "CatalogoTesteApoio.h"
#include "model/Catalogo.h"

using namespace CatalogoTeste;

namespace {

TEST(CatalogoParametros, IntervaloSoDaChaveDoPainel) {
  BancoTeste banco;
  const auto intervalo = [&] { return Abrir(banco, Catalogo::IntervaloPainel(), {}, {"CAMPOINTEGER"}); };
  EXPECT_EQ(intervalo(), QStringList());

  // Other keys, and the key in another letter case, are not it.
  banco.Executar(QStringLiteral(R"(
INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAO', 5);
INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('tempoatualizacaopainel', 6);
)"));
  EXPECT_EQ(intervalo(), QStringList());

  banco.Executar(QStringLiteral(
      "INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', 30)"));
  EXPECT_EQ(intervalo(), QStringList{"30"});
  banco.Executar(QStringLiteral("UPDATE PARADIV SET CAMPOINTEGER = NULL WHERE ID_DESCRICAO = 'TEMPOATUALIZACAOPAINEL'"));
  EXPECT_EQ(intervalo(), QStringList{"<nulo>"});
}

TEST(CatalogoParametros, WebServiceSemCondicao) {
  BancoTeste banco;
  const auto flag = [&] { return Abrir(banco, Catalogo::UsaWebService(), {}, {"UTILIZAINTEGWEBSERVICE"}); };
  EXPECT_EQ(flag(), QStringList());
  banco.Executar(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES ('S')"));
  EXPECT_EQ(flag(), QStringList{"S"});
  // Every row comes back; the reader takes the first the server gives.
  banco.Executar(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES (NULL)"));
  QStringList linhas = flag();
  linhas.sort();
  EXPECT_EQ(linhas, QStringList({"<nulo>", "S"}));
}

}  // namespace
