#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

namespace {

// Runs a catalogue statement with its values and gives one column of every
// row, joined by "|".
QString Coluna(BancoTeste& banco, const QString& sql, const QList<QPair<QString, QString>>& valores,
               const QString& coluna) {
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(sql);
  for (const auto& v : valores) consulta.SetParam(v.first, v.second);
  consulta.Abrir();
  QStringList saida;
  for (int i = 0; i < consulta.QtdLinhas(); ++i) saida << consulta.Valor(i, coluna).AsString();
  return saida.join(u'|');
}

qint64 Executar(BancoTeste& banco, const QString& sql, const QList<QPair<QString, QString>>& valores) {
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(sql);
  for (const auto& v : valores) consulta.SetParam(v.first, v.second);
  return consulta.Executar();
}

void Mudanca(BancoTeste& banco, int ordem, const QString& tabela, const QString& chave0, const QString& chave3) {
  banco.Executar(QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, CHAVE3, INCINTEGMAQUINA) "
                                "VALUES (%1, 'A', '%2', '%3', '%4', 'S')")
                     .arg(ordem)
                     .arg(tabela, chave0, chave3));
}

TEST(CatalogoBanco, ProximosRegistrosSoDaFilialDaChaveEDepoisDoUltimoId) {
  BancoTeste banco;
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', '1', 2)"));
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('02', '1', NULL)"));
  Mudanca(banco, 1, QStringLiteral("PRODUTOS"), QStringLiteral("9"), QString());
  Mudanca(banco, 2, QStringLiteral("PRODUTOS"), QStringLiteral("9"), QString());
  Mudanca(banco, 3, QStringLiteral("TRANSFESTOQUE"), QStringLiteral("x"), QStringLiteral("01"));
  Mudanca(banco, 4, QStringLiteral("TRANSFESTOQUE"), QStringLiteral("x"), QStringLiteral("02"));
  Mudanca(banco, 5, QStringLiteral("MVGERAL"), QStringLiteral("02"), QString());
  Mudanca(banco, 6, QStringLiteral("MVGERAL"), QStringLiteral("01"), QString());
  for (int ordem = 7; ordem < 27; ++ordem) Mudanca(banco, ordem, QStringLiteral("CLIENTES"), QString::number(ordem), {});
  const QList<QPair<QString, QString>> maq1 = {{QStringLiteral("PMaquina"), QStringLiteral("01")},
                                               {QStringLiteral("PMaqECF"), QStringLiteral("1")}};
  QStringList todos{"3", "6"};
  for (int ordem = 7; ordem < 27; ++ordem) todos << QString::number(ordem);
  EXPECT_EQ(Coluna(banco, Catalogo::ProximosRegistrosTodos(), maq1, QStringLiteral("ORDEM")), todos.join(u'|'));
  EXPECT_EQ(Coluna(banco, Catalogo::ProximosRegistros(), maq1, QStringLiteral("ORDEM")),
            todos.mid(0, 15).join(u'|'));
  // No last id, or no machine row: nothing is next.
  EXPECT_EQ(Coluna(banco, Catalogo::ProximosRegistrosTodos(),
                   {{QStringLiteral("PMAQUINA"), QStringLiteral("02")}, {QStringLiteral("pmaqecf"), QStringLiteral("1")}},
                   QStringLiteral("ORDEM")),
            QString());
  EXPECT_EQ(Coluna(banco, Catalogo::ProximosRegistros(),
                   {{QStringLiteral("PMaquina"), QStringLiteral("03")}, {QStringLiteral("PMaqECF"), QStringLiteral("1")}},
                   QStringLiteral("ORDEM")),
            QString());
}

TEST(CatalogoBanco, EnviadosERecebidosComRotulosEOrdem) {
  BancoTeste banco;
  for (int ordem = 1; ordem <= 20; ++ordem) {
    Mudanca(banco, ordem, QStringLiteral("PRODUTOS"), QString::number(ordem), {});
    banco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES "
                                  "('01', '1', %1, %2)")
                       .arg(ordem)
                       .arg(ordem == 20 ? QStringLiteral("NULL") : ordem == 19 ? QStringLiteral("'N'")
                                                                                  : QStringLiteral("'S'")));
  }
  QStringList enviados;
  for (int ordem = 18; ordem > 3; --ordem) enviados << QString::number(ordem);
  EXPECT_EQ(Coluna(banco, Catalogo::RegistrosEnviados(),
                   {{QStringLiteral("PMaquina"), QStringLiteral("01")}, {QStringLiteral("PMaqECF"), QStringLiteral("1")}},
                   QStringLiteral("ORDEM")),
            enviados.join(u'|'));

  const char* acoes[] = {"A", "I", "E", "P", "X"};
  for (int i = 0; i < 18; ++i)
    banco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, "
                                  "TABELA, SCRIPT, DATA_INCLUSAO) VALUES (%1, %2, '01', '1', '%3', %4, 'PRODUTOS', "
                                  "'update x;', CAST('2026-01-01 10:00:00' AS DATE) + %1)")
                       .arg(i)
                       .arg(100 + i)
                       .arg(QLatin1String(acoes[i % 5]))
                       .arg(i % 6));
  const QList<QPair<QString, QString>> valores = {{QStringLiteral("PCodEmpresa"), QStringLiteral("01")},
                                                  {QStringLiteral("PMAQECF"), QStringLiteral("1")}};
  // Newest first, 15 of 18; labels from the codes, none for unknown codes.
  EXPECT_EQ(Coluna(banco, Catalogo::RegistrosRecebidos(), valores, QStringLiteral("ID")),
            QStringLiteral("17|16|15|14|13|12|11|10|9|8|7|6|5|4|3"));
  // The server pads the labels to the longest one (a CHAR of CASE).
  const QStringList rotulosAcao = {"Alteração", "Inclusão", "Exclusão", "Procedure", ""};
  const QStringList rotulosStatus = {"Não Executado", "Executado", "Exec. e Sinc", "Erro", "", ""};
  QStringList acaoEsperada, statusEsperado;
  for (int i = 17; i >= 3; --i) {
    acaoEsperada << rotulosAcao[i % 5];
    statusEsperado << rotulosStatus[i % 6];
  }
  auto aparado = [](QString lista) {
    QStringList itens = lista.split(u'|');
    for (QString& item : itens) item = item.trimmed();
    return itens;
  };
  EXPECT_EQ(aparado(Coluna(banco, Catalogo::RegistrosRecebidos(), valores, QStringLiteral("ACAO"))), acaoEsperada);
  EXPECT_EQ(aparado(Coluna(banco, Catalogo::RegistrosRecebidos(), valores, QStringLiteral("STATUS"))),
            statusEsperado);
}

TEST(CatalogoBanco, ColunasDaChavePrimariaNaOrdemDaChave) {
  BancoTeste banco;
  banco.Executar(QStringLiteral("CREATE TABLE ITENS (B INTEGER NOT NULL, C VARCHAR(5) NOT NULL, A INTEGER NOT NULL, "
                                "D INTEGER, CONSTRAINT PK_ITENS PRIMARY KEY (C, A, B))"));
  banco.Executar(QStringLiteral("CREATE TABLE SEMCHAVE (A INTEGER)"));
  EXPECT_EQ(Coluna(banco, Catalogo::ChavePrimaria(), {{QStringLiteral("tabela"), QStringLiteral("ITENS")}},
                   QStringLiteral("RDB$FIELD_NAME"))
                .replace(u' ', QString()),
            QStringLiteral("C|A|B"));
  EXPECT_EQ(Coluna(banco, Catalogo::ChavePrimaria(), {{QStringLiteral("TABELA"), QStringLiteral("SEMCHAVE")}},
                   QStringLiteral("RDB$FIELD_NAME")),
            QString());
}

TEST(CatalogoBanco, ErrosMarcarEExcluir) {
  BancoTeste banco;
  banco.Executar(QStringLiteral(
      "INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES "
      "('01', '1', 1, '2026-01-01', 'a', 'N')"));
  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, CONFERIDO) "
                                "VALUES ('01', '1', 2, '2026-01-03', 'S')"));
  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, CONFERIDO) "
                                "VALUES ('01', '1', 3, '2026-01-02', NULL)"));
  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, CONFERIDO) "
                                "VALUES ('01', '2', 4, '2026-01-02', 'N')"));
  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, CONFERIDO) "
                                "VALUES ('02', '1', 5, '2026-01-02', 'N')"));
  const QList<QPair<QString, QString>> maq = {{QStringLiteral("PCodEmpresa"), QStringLiteral("01")},
                                              {QStringLiteral("PMaqECF"), QStringLiteral("1")}};
  EXPECT_EQ(Coluna(banco, Catalogo::ErrosTodos(), maq, QStringLiteral("IDINTEGERRO")), QStringLiteral("2|3|1"));
  EXPECT_EQ(Coluna(banco, Catalogo::ErrosNaoConferidos(), maq, QStringLiteral("IDINTEGERRO")), QStringLiteral("1"));

  // One row changes; the rest stay.
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(),
                     {{QStringLiteral("PConferido"), QStringLiteral("S")},
                      {QStringLiteral("PCodEmpresa"), QStringLiteral("01")},
                      {QStringLiteral("PMaqECF"), QStringLiteral("1")},
                      {QStringLiteral("PIdIntegErro"), QStringLiteral("1")}}),
            1);
  EXPECT_EQ(Coluna(banco, QStringLiteral("SELECT CONFERIDO FROM INTEGERRO ORDER BY IDINTEGERRO"), {},
                   QStringLiteral("CONFERIDO")),
            QStringLiteral("S|S||N|N"));

  // A value holding SQL is bound, never spliced: nothing is deleted. One
  // longer than the column is refused by the server, still deleting nothing.
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{QStringLiteral("PCodEmpresa"), QStringLiteral("';")}}), 0);
  EXPECT_THROW(Executar(banco, Catalogo::ExcluirErros(),
                        {{QStringLiteral("PCodEmpresa"), QStringLiteral("'; DELETE FROM INTEGERRO; --")}}),
               Falha);
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO")), QStringLiteral("5"));
  // A rolled-back deletion leaves every row.
  banco.Conexao().IniciarTransacao();
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{QStringLiteral("PCodEmpresa"), QStringLiteral("01")}}), 4);
  banco.Conexao().CancelarTransacao();
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO")), QStringLiteral("5"));
  // Both machines of the branch, acknowledged or not; the other branch stays.
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{QStringLiteral("pcodempresa"), QStringLiteral("01")}}), 4);
  EXPECT_EQ(Coluna(banco, QStringLiteral("SELECT IDINTEGERRO FROM INTEGERRO"), {}, QStringLiteral("IDINTEGERRO")),
            QStringLiteral("5"));
}

TEST(CatalogoBanco, ReprocessarTodasAsFiliaisOuNenhuma) {
  BancoTeste banco;
  for (int i = 1; i <= 6; ++i)
    banco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES "
                                  "(%1, '0%2', '1', %3)")
                       .arg(i)
                       .arg(i % 2 + 1)
                       .arg(i <= 3 ? 3 : i - 3));
  const QString estado = QStringLiteral("SELECT LIST(STATUS, ',') FROM (SELECT STATUS FROM FILAINTEGOFFLINE ORDER BY ID)");
  // A trigger refusing one row makes the whole statement fail: nothing changes.
  banco.Executar(QStringLiteral("CREATE EXCEPTION E_RECUSA 'recusado'"));
  banco.Executar(QStringLiteral(
      "CREATE TRIGGER T_RECUSA FOR FILAINTEGOFFLINE BEFORE UPDATE AS BEGIN IF (NEW.ID = 3) THEN EXCEPTION E_RECUSA; "
      "END"));
  EXPECT_THROW(Executar(banco, Catalogo::ReprocessarErros(), {}), Falha);
  EXPECT_EQ(banco.Valor(estado), QStringLiteral("3,3,3,1,2,3"));
  banco.Executar(QStringLiteral("DROP TRIGGER T_RECUSA"));
  EXPECT_EQ(Executar(banco, Catalogo::ReprocessarErros(), {}), 4);
  EXPECT_EQ(banco.Valor(estado), QStringLiteral("0,0,0,1,2,0"));
}

}  // namespace
