// The status statement and the two per-row counts, run as the refresh runs
// them: one status query, then both counts for every row it returns.

#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "CatalogoTesteApoio.h"
#include "model/Catalogo.h"

using namespace CatalogoTeste;

namespace {

const QStringList kColunasStatus = {"CODEMPRESA", "MAQUINA",    "NOME",     "MAQUINAECF", "INTERVALO",
                                    "QTDREGRECEB", "ULTRECEB", "ULTENVIO", "STATUSERRO"};

// Branches 01, 02 and 04 with machines; branch 03 without any; machine 09
// without its branch. The machine of branch 02 has its code stored with a
// trailing blank.
void Maquinas(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('02', 'Norte');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('03', 'Sem máquinas');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('04', 'Ávila');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO, ULTIDSERVER) VALUES ('01', 'CX02', '30', 5, '2024-03-04 10:11:12', '2024-03-04 10:20:00', 7);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX01');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB) VALUES ('02 ', 'CX01', '', 0);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('09', 'CX00');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('04', 'CX01');
)"));
}

// Change log, delivery lists and integrated changes. Of the log, changes
// 1, 6, 7, 8, 9, 10 and 11 count for every machine: 2 and 13 have no
// INCINTEGMAQUINA, 3 and 12 have "N", 4 and 5 are inclusions or alterations
// of TRANSF_ESTOQUE(_ITENS). Change 10 is integrated by 01/CX01, change 11
// by 02/CX01.
void Envios(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (1, 'A', 'PRODUTOS', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (2, 'I', 'PRODUTOS', NULL);
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (3, 'A', 'PRODUTOS', 'N');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (4, 'I', 'TRANSF_ESTOQUE', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (5, 'A', 'TRANSF_ESTOQUE_ITENS', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (6, 'E', 'TRANSF_ESTOQUE', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (7, 'E', 'TRANSF_ESTOQUE_ITENS', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE3, INCINTEGMAQUINA) VALUES (8, 'I', 'TRANSFESTOQUE', '02', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, INCINTEGMAQUINA) VALUES (9, 'A', 'MVGERAL', '01', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (10, 'A', 'CLIENTES', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (11, 'A', 'CLIENTES', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (12, 'E', 'CLIENTES', 'N');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (13, 'E', 'TRANSF_ESTOQUE', NULL);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX01', 10);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('02', 'CX01', 11);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX02', 3);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX09', 1);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 1, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 2, NULL);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 3, 'S');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 4, '');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX02', 5, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX02', 6, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX02', 7, 'X');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('02', 'CX01', 1, 'N');
)"));
}

// Queue entries: for 01/CX01 three count (0, 3, 3); the states 1, 2, 4, 9
// and NULL do not, nor do entries without ID.
void Fila(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (2, '01', 'CX01', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (3, '01', 'CX01', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (4, '01', 'CX01', 1);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (5, '01', 'CX01', 2);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (6, '01', 'CX01', 4);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (7, '01', 'CX01', 9);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (8, '01', 'CX01', NULL);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (NULL, '01', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (NULL, '01', 'CX01', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (11, '01', 'CX02', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (21, '02', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (22, '02', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (31, 'CX', '01', 0);
)"));
}

TEST(CatalogoStatus, LinhasSoParaMaquinaComFilialEErroAbertoSoComN) {
  BancoTeste banco;
  Maquinas(banco);
  // Open errors are only those with "N": acknowledged, NULL and a lower-case
  // "n" leave 01/CX01 without one; the error of machine CX09 of branch 04
  // is not its CX01's; the branch code stored with a blank still matches.
  banco.Executar(QStringLiteral(R"(
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 1, 'S');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 2, NULL);
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 3, 'n');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX02', 1, 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX02', 2, 'S');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('02', 'CX01', 1, 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('04', 'CX09', 1, 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('09', 'CX00', 1, 'N');
)"));

  ConsultaSql status(&banco.Conexao());
  status.SetSql(Catalogo::StatusMaquinas());
  status.Abrir();
  EXPECT_EQ(status.Colunas(), kColunasStatus);
  // Machine identifier, then branch name in byte order ("Á" after "N").
  EXPECT_EQ(Linhas(status, kColunasStatus),
            QStringList({"01|01|01 - Centro|CX01|<nulo>|<nulo>|<nulo>|<nulo>|Não",
                         "02|02 |02 - Norte|CX01||0|<nulo>|<nulo>|Sim",
                         "04|04|04 - Ávila|CX01|<nulo>|<nulo>|<nulo>|<nulo>|Não",
                         "01|01|01 - Centro|CX02|30|5|2024-03-04 10:11:12|2024-03-04 10:20:00|Sim"}));

  // Acknowledging the last open error of a machine clears its flag.
  banco.Executar(QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'S' WHERE CODEMPRESA = '02'"));
  status.Abrir();
  EXPECT_EQ(status.Valor(1, QStringLiteral("STATUSERRO")).AsString(), QStringLiteral("Não"));

  // Without machines there are no rows at all.
  banco.Executar(QStringLiteral("DELETE FROM IGFMAQUINA"));
  status.Abrir();
  EXPECT_EQ(status.QtdLinhas(), 0);
}

TEST(CatalogoStatus, ContagensDeCadaLinhaComAMesmaInstrucaoPreparada) {
  BancoTeste banco;
  Maquinas(banco);
  Envios(banco);
  Fila(banco);

  ConsultaSql status(&banco.Conexao());
  status.SetSql(Catalogo::StatusMaquinas());
  status.Abrir();
  ConsultaSql enviar(&banco.Conexao());
  enviar.SetSql(Catalogo::RegistrosEnviar());
  ConsultaSql fila(&banco.Conexao());
  fila.SetSql(Catalogo::RegistrosFila());
  EXPECT_EQ(enviar.NomesParametros(), QStringList({"MAQUINA", "MAQUINAECF"}));
  EXPECT_EQ(fila.NomesParametros(), QStringList({"PCODEMPRESA", "PMAQECF"}));

  const quint64 preparosAntes = banco.Conexao().Preparos();
  QStringList contagens;
  for (int i = 0; i < status.QtdLinhas(); ++i) {
    // The branch code goes without its blanks, the machine as it is; the
    // names are given in another letter case than the statements use.
    const QString filial = status.Valor(i, QStringLiteral("MAQUINA")).AsString().trimmed();
    const QString maquina = status.Valor(i, QStringLiteral("MAQUINAECF")).AsString();
    Vincular(enviar, {{QStringLiteral("Maquina"), filial}, {QStringLiteral("maquinaecf"), maquina}});
    enviar.Abrir();
    Vincular(fila, {{QStringLiteral("PCodEmpresa"), filial}, {QStringLiteral("PMAQECF"), maquina}});
    fila.Abrir();
    ASSERT_EQ(enviar.QtdLinhas(), 1);
    ASSERT_EQ(fila.QtdLinhas(), 1);
    contagens << QStringLiteral("%1|%2|%3|%4")
                     .arg(maquina, filial, Texto(enviar.Valor(0, QStringLiteral("TOTAL"))),
                          Texto(fila.Valor(0, QStringLiteral("TOTAL"))));
  }
  // 01/CX01: 7 changes less the integrated 10, plus deliveries 1 and 4 (not
  // the one with ATUALIZOU NULL nor the delivered one). 02/CX01: 7 less 11,
  // plus 1. 04/CX01: the 7 changes, no delivery. 01/CX02: all 7 (its
  // ULTIDSERVER plays no part) plus 3 deliveries.
  EXPECT_EQ(contagens, QStringList({"CX01|01|8|3", "CX01|02|7|2", "CX01|04|7|0", "CX02|01|10|1"}));
  EXPECT_EQ(banco.Conexao().Preparos() - preparosAntes, 2u);

  // A machine that does not exist still sees every change of the log.
  Vincular(enviar, {{QStringLiteral("MAQUINA"), QStringLiteral("05")}, {QStringLiteral("MAQUINAECF"), QStringLiteral("X")}});
  enviar.Abrir();
  EXPECT_EQ(Texto(enviar.Valor(0, QStringLiteral("TOTAL"))), QStringLiteral("7"));

  // With nothing to send the total is 0, not NULL.
  banco.Executar(QStringLiteral("DELETE FROM MVINTEGGERAL"));
  banco.Executar(QStringLiteral("DELETE FROM INTEGMAQUINA"));
  enviar.Abrir();
  EXPECT_EQ(Texto(enviar.Valor(0, QStringLiteral("TOTAL"))), QStringLiteral("0"));
}

TEST(CatalogoStatus, ValoresComAspasEPontoEVirgulaSaoVinculados) {
  BancoTeste banco;
  Envios(banco);
  Fila(banco);
  // A machine whose identifier holds a quote, a semicolon and a comment.
  banco.Executar(QStringLiteral(R"(
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'X'';--', 1, 'N');
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'X'';--', 1);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (41, '01', 'X'';--', 3);
)"));
  auto enviar = [&](const QString& filial, const QString& maquina) {
    return Abrir(banco, Catalogo::RegistrosEnviar(), {{"MAQUINA", filial}, {"MAQUINAECF", maquina}}, {"TOTAL"});
  };
  auto fila = [&](const QString& filial, const QString& maquina) {
    return Abrir(banco, Catalogo::RegistrosFila(), {{"pCodEmpresa", filial}, {"pMaqECF", maquina}}, {"TOTAL"});
  };
  EXPECT_EQ(enviar("01", "X';--"), QStringList{"7"});  // 7 less change 1, plus its delivery
  EXPECT_EQ(fila("01", "X';--"), QStringList{"1"});
  // Texts that would widen the condition if they were spliced match nothing.
  EXPECT_EQ(enviar("01", "' OR ''='"), QStringList{"7"});
  EXPECT_EQ(fila("';", "' OR 1=1 "), QStringList{"0"});
  EXPECT_EQ(fila("01", "CX01;"), QStringList{"0"});
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM FILAINTEGOFFLINE")), QStringLiteral("15"));

  // Bound values travel in Windows-1252, where "€" and the curly quotes are
  // single bytes of their own, and find the rows stored so.
  banco.Executar(QStringLiteral(R"(
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'C€“1”', 2, 'N');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (42, '01', 'C€“1”', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (43, '01', 'C€“1”', 3);
)"));
  EXPECT_EQ(Conteudo(banco, QStringLiteral("SELECT ASCII_VAL(SUBSTRING(MAQUINA FROM 2 FOR 1)), "
                                           "ASCII_VAL(SUBSTRING(MAQUINA FROM 3 FOR 1)), OCTET_LENGTH(MAQUINA) "
                                           "FROM FILAINTEGOFFLINE WHERE ID = 42")),
            QStringList{"128|147|5"});
  EXPECT_EQ(enviar("01", "C€“1”"), QStringList{"8"});
  EXPECT_EQ(fila("01", "C€“1”"), QStringList{"2"});
  EXPECT_EQ(fila("01", "C?“1”"), QStringList{"0"});
}

}  // namespace
