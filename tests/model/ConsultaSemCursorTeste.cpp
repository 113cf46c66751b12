// A statement without a cursor that returns values (an executable procedure
// with output parameters) must give its one row to Abrir, as the query's
// contract says. Kept here until the data layer is mended.

#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "CatalogoTesteApoio.h"

using namespace CatalogoTeste;

namespace {

TEST(ConsultaSemCursor, ProcedimentoExecutavelDevolveSuaLinha) {
  BancoTeste banco;
  banco.Executar(QStringLiteral(
      "CREATE PROCEDURE DOBRO (N INTEGER) RETURNS (R INTEGER, T VARCHAR(10)) AS BEGIN R = N * 2; T = 'ação'; END"));
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(QStringLiteral("EXECUTE PROCEDURE DOBRO :N"));
  consulta.SetParam(QStringLiteral("N"), QStringLiteral("21"));
  consulta.Abrir();
  EXPECT_EQ(consulta.Colunas(), QStringList({"R", "T"}));
  ASSERT_EQ(consulta.QtdLinhas(), 1);
  EXPECT_EQ(Linhas(consulta, {"R", "T"}), QStringList{"42|ação"});
}

}  // namespace
