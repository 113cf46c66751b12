#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"

namespace {

class AtualizacaoPainelTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
    banco.Configurar(conexao);
  }

  QString Celula(int linha, CampoStatus campo) {
    return tabela.data(tabela.index(linha, ColunaGrid::IndiceDe(campo))).toString();
  }

  BancoTeste banco;
  ConexaoBanco conexao;
  TabelaStatus tabela;
};

TEST_F(AtualizacaoPainelTeste, LinhasContagensECortes) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Loja Centro');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('02', 'Distribuidora Regional do Norte e Nordeste');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('03', 'Sem maquinas');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO) VALUES ('01', 'CX01', '30', 5, '2024-03-04 10:11:12', NULL);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO) VALUES ('02 ', 'CX02', '1234567', NULL, NULL, '2024-03-05 00:00:00');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('02', 'CAIXA9');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('09', 'CX00');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (1, 'I', 'PRODUTO', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (2, 'I', 'TRANSF_ESTOQUE', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (3, 'E', 'TRANSF_ESTOQUE_ITENS', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (4, 'A', 'PRODUTO', 'N');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (5, 'A', 'PRODUTO', NULL);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX01', 1);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('02', 'CX02', 3);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 10, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 11, 'S');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 12, NULL);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('02', 'CX02', 20, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('02', 'CX02', 21, 'N');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (2, '01', 'CX01', 1);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (3, '01', 'CX01', 2);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (4, '01', 'CX01', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (5, '01', 'CX01', 4);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (NULL, '01', 'CX01', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (6, '02', 'CX02', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (7, '02', 'CX03', 0);
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 1, 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('02', 'CX02', 1, 'S');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('02', 'CX02', 2, NULL);
)"));
  AtualizacaoPainel atualizacao(conexao, tabela);
  ASSERT_TRUE(atualizacao.Atualizar());

  // Ordered by machine identifier: CAIXA9 < CX01 < CX02; the machine of the
  // missing branch 09 and the branch without machines give no row.
  ASSERT_EQ(tabela.QtdLinhas(), 3);
  const LinhaStatus& caixa = tabela.Linha(0);
  const LinhaStatus& cx01 = tabela.Linha(1);
  const LinhaStatus& cx02 = tabela.Linha(2);

  EXPECT_EQ(caixa.MAQUINAECF, QStringLiteral("CAIX"));
  EXPECT_EQ(caixa.NOME, QStringLiteral("02 - Distribuidora Regional do Nort"));
  EXPECT_EQ(caixa.NOME.size(), 35);
  EXPECT_EQ(caixa.QTDREGENVIAR, 2) << "changes 1 and 3, nothing integrated by CAIXA9";

  EXPECT_EQ(cx01.CODEMPRESA, QStringLiteral("01"));
  EXPECT_EQ(cx01.NOME, QStringLiteral("01 - Loja Centro"));
  EXPECT_EQ(cx01.INTERVALO, QStringLiteral("30"));
  EXPECT_EQ(cx01.QTDREGRECEB, 5);
  EXPECT_EQ(cx01.ULTRECEB, QDateTime(QDate(2024, 3, 4), QTime(10, 11, 12)));
  EXPECT_FALSE(cx01.ULTENVIO.isValid());
  EXPECT_EQ(cx01.QTDREGENVIAR, 2) << "change 3 (a deletion) plus one undelivered INTEGMAQUINA row";
  EXPECT_EQ(cx01.QTDREGFILA, 2) << "statuses 0 and 3 only, an entry without ID not counted";
  EXPECT_EQ(cx01.STATUSERRO, QStringLiteral("Sim"));

  // The branch code stored with a trailing blank still finds its records:
  // the counts receive it trimmed, the machine identifier untouched.
  EXPECT_EQ(cx02.INTERVALO, QStringLiteral("12345"));
  EXPECT_EQ(cx02.QTDREGRECEB, 0);
  EXPECT_EQ(cx02.QTDREGENVIAR, 3) << "change 1 plus two INTEGMAQUINA rows; change 3 already integrated";
  EXPECT_EQ(cx02.QTDREGFILA, 1) << "CX03's entry is another machine's";
  EXPECT_EQ(cx02.STATUSERRO, QStringLiteral("Não")) << "acknowledged and null CONFERIDO are not open";

  // Cells: an absent date empty, midnight as the date alone.
  EXPECT_EQ(Celula(1, CampoStatus::ULTRECEB), QStringLiteral("04/03/2024 10:11:12"));
  EXPECT_EQ(Celula(1, CampoStatus::ULTENVIO), QString());
  EXPECT_EQ(Celula(2, CampoStatus::ULTENVIO), QStringLiteral("05/03/2024"));
  EXPECT_EQ(Celula(2, CampoStatus::QTDREGRECEB), QStringLiteral("0"));
  EXPECT_EQ(tabela.headerData(ColunaGrid::IndiceDe(CampoStatus::QTDREGFILA), Qt::Horizontal).toString(),
            QStringLiteral("Registros na Fila"));

  // Every statement stays prepared across rows and refreshes: a second
  // refresh on the same attachment prepares nothing and runs 1 + 2 × 3.
  const quint64 preparos = conexao.Preparos();
  const quint64 execucoes = conexao.Execucoes();
  ASSERT_TRUE(atualizacao.Atualizar());
  EXPECT_EQ(conexao.Preparos() - preparos, 0u);
  EXPECT_EQ(conexao.Execucoes() - execucoes, 7u);
  EXPECT_EQ(tabela.QtdLinhas(), 3);
  EXPECT_EQ(atualizacao.ContarRegFila(QStringLiteral(" 01 "), QStringLiteral("CX01")), 2);
  EXPECT_EQ(atualizacao.ContarRegFila(QStringLiteral("01"), QStringLiteral(" CX01")), 0)
      << "the machine identifier is passed as it is, leading blank included";
  EXPECT_EQ(atualizacao.ContarRegEnviar(QStringLiteral("\t01 "), QStringLiteral("CX01")), 2);

  // With no machine left the table is emptied and no count runs.
  banco.Executar(QStringLiteral("DELETE FROM IGFMAQUINA"));
  const quint64 antes = conexao.Execucoes();
  EXPECT_FALSE(atualizacao.Atualizar());
  EXPECT_EQ(tabela.QtdLinhas(), 0);
  EXPECT_EQ(conexao.Execucoes() - antes, 1u);
}

TEST_F(AtualizacaoPainelTeste, ContagemQueFalhaNaTerceiraDeCincoLinhas) {
  // A queue column narrower than the machine identifier makes the queue
  // count of that one machine fail in the database.
  banco.Executar(QStringLiteral("DROP TABLE FILAINTEGOFFLINE"));
  banco.Executar(QStringLiteral("CREATE TABLE FILAINTEGOFFLINE (ID INTEGER, CODEMPRESA VARCHAR(3), "
                                "MAQUINA VARCHAR(4), STATUS INTEGER)"));
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Loja');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'A1', 1);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'A2', 2);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'A3LONGO', 3);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'A4', 4);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'A5', 5);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'A3LONGO', 1, 'N');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'A1', 0);
)"));
  AtualizacaoPainel atualizacao(conexao, tabela);
  // The grid hears one reset per refresh, the failing one too, and nothing
  // per row or per cell; a sort order in force is applied to what was stored.
  tabela.Ordenar({CampoStatus::STATUSERRO});
  int resets = 0, outros = 0;
  QObject::connect(&tabela, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(&tabela, &QAbstractItemModel::rowsInserted, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::rowsRemoved, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::rowsMoved, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::dataChanged, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::layoutChanged, [&] { ++outros; });
  EXPECT_THROW(atualizacao.Atualizar(), Falha);
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(outros, 0);
  ASSERT_EQ(tabela.rowCount(), 3);
  EXPECT_EQ(tabela.LinhaExibida(0).QTDREGRECEB, 3) << "the unfinished row has no error text yet: first";
  EXPECT_EQ(tabela.LinhaExibida(1).MAQUINAECF, QStringLiteral("A1"));
  EXPECT_EQ(tabela.LinhaExibida(2).MAQUINAECF, QStringLiteral("A2"));
  EXPECT_EQ(Celula(0, CampoStatus::QTDREGENVIAR), QStringLiteral("1"));
  tabela.Ordenar({});

  ASSERT_EQ(tabela.QtdLinhas(), 3) << "two complete rows and the unfinished one stay";
  EXPECT_EQ(tabela.Linha(0).MAQUINAECF, QStringLiteral("A1"));
  EXPECT_EQ(tabela.Linha(0).QTDREGFILA, 1);
  EXPECT_EQ(tabela.Linha(1).STATUSERRO, QStringLiteral("Não"));
  const LinhaStatus& inacabada = tabela.Linha(2);
  EXPECT_EQ(inacabada.QTDREGRECEB, 3);
  EXPECT_EQ(inacabada.QTDREGENVIAR, 1) << "the send count ran before the queue count failed";
  EXPECT_EQ(inacabada.QTDREGFILA, 0);
  EXPECT_EQ(inacabada.STATUSERRO, QString());
  EXPECT_EQ(inacabada.MAQUINAECF, QString());

  // Once the data no longer fails, the next refresh rebuilds all five.
  banco.Executar(QStringLiteral("UPDATE IGFMAQUINA SET MAQUINAECF = 'A3' WHERE MAQUINAECF = 'A3LONGO'"));
  resets = outros = 0;
  ASSERT_TRUE(atualizacao.Atualizar());
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(outros, 0);
  ASSERT_EQ(tabela.QtdLinhas(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(tabela.Linha(i).MAQUINAECF, QStringLiteral("A%1").arg(i + 1));
    EXPECT_EQ(tabela.Linha(i).QTDREGRECEB, i + 1);
    EXPECT_EQ(tabela.Linha(i).STATUSERRO, QStringLiteral("Não"));
  }
}

TEST_F(AtualizacaoPainelTeste, ValoresQueAsRegrasNaoPreveem) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', NULL);
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('02', 'O "Bar"; d''Ajuda, €‚ƒ„…');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO, ULTIDSERVER) VALUES ('01', 'M1', NULL, NULL, NULL, NULL, NULL);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO) VALUES ('02', 'M2;"X', '', -7, '1850-01-02 03:04:05', '2150-12-31 23:59:59');
)"));
  AtualizacaoPainel atualizacao(conexao, tabela);
  ASSERT_TRUE(atualizacao.Atualizar());
  ASSERT_EQ(tabela.QtdLinhas(), 2);
  EXPECT_EQ(tabela.Linha(0).NOME, QString()) << "NULL name makes the whole concatenation NULL";
  EXPECT_EQ(tabela.Linha(0).INTERVALO, QString());
  EXPECT_EQ(tabela.Linha(0).QTDREGRECEB, 0);
  EXPECT_EQ(Celula(0, CampoStatus::ULTRECEB), QString());
  EXPECT_EQ(tabela.Linha(1).NOME, QStringLiteral("02 - O \"Bar\"; d'Ajuda, €‚ƒ„…"));
  EXPECT_EQ(tabela.Linha(1).MAQUINAECF, QStringLiteral("M2;\""));
  EXPECT_EQ(tabela.Linha(1).QTDREGRECEB, -7);
  EXPECT_EQ(Celula(1, CampoStatus::QTDREGRECEB), QStringLiteral("-7"));
  EXPECT_EQ(Celula(1, CampoStatus::ULTRECEB), QStringLiteral("02/01/1850 03:04:05"));
  EXPECT_EQ(Celula(1, CampoStatus::ULTENVIO), QStringLiteral("31/12/2150 23:59:59"));
}

TEST(FormatoDataHora, FormatoLongoSemFusoHorario) {
  EXPECT_EQ(FormatoDataHora::SemFusoHorario(QStringLiteral("HH:mm:ss t")), QStringLiteral("HH:mm:ss"));
  EXPECT_EQ(FormatoDataHora::SemFusoHorario(QStringLiteral("h:mm:ss AP tttt")), QStringLiteral("h:mm:ss AP"));
  EXPECT_EQ(FormatoDataHora::SemFusoHorario(QStringLiteral("HH'h'mm 'at' t")), QStringLiteral("HH'h'mm 'at'"));
  FormatoDataHora::DefinirFormatoHora(QStringLiteral("h:mm:ss AP"));
  EXPECT_EQ(FormatoDataHora::Celula(QDateTime(QDate(2024, 1, 2), QTime(13, 4, 5))),
            QStringLiteral("02/01/2024 1:04:05 PM"));
  EXPECT_EQ(FormatoDataHora::Celula(QDateTime(QDate(2024, 1, 2), QTime(0, 0, 0, 1))),
            QStringLiteral("02/01/2024 12:00:00 AM"))
      << "a millisecond after midnight is not midnight";
  EXPECT_EQ(FormatoDataHora::Carimbo(QDateTime(QDate(2024, 1, 2), QTime(13, 4, 5))),
            QStringLiteral("02/01/2024 13:04:05"));
  EXPECT_EQ(FormatoDataHora::Iso(QDateTime(QDate(2024, 1, 2), QTime(0, 0))), QStringLiteral("2024-01-02T00:00:00"));
  FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
}

}  // namespace
