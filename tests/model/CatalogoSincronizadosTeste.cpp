// Statements of the synchronised-records viewer: next records (both
// variants), last sent, last received and the key columns of a table.

#include <gtest/gtest.h>

#include <QDateTime>

#include "BancoTeste.h"
#include "CatalogoTesteApoio.h"
#include "model/Catalogo.h"
#include "platform/Falha.h"

using namespace CatalogoTeste;

namespace {

const QStringList kColunasMvIntegGeral = {"ORDEM",  "ACAO",   "TABELA", "CHAVE0", "CHAVE1",          "CHAVE2",
                                          "CHAVE3", "CHAVE4", "CHAVE5", "CHAVE6", "CHAVE7",          "CHAVE8",
                                          "CHAVE9", "INCINTEGMAQUINA", "DATAHORA"};

void Mudanca(BancoTeste& banco, int ordem, const QString& tabela, const QString& chave0 = QString(),
             const QString& chave3 = QString(), const QString& inclui = QStringLiteral("S")) {
  ConsultaSql insercao(&banco.Conexao());
  insercao.SetSql(QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, CHAVE3, INCINTEGMAQUINA) "
                                 "VALUES (:ORDEM, 'A', :TABELA, :CHAVE0, :CHAVE3, :INC)"));
  insercao.SetParam(QStringLiteral("ORDEM"), QString::number(ordem));
  insercao.SetParam(QStringLiteral("TABELA"), tabela);
  insercao.SetParam(QStringLiteral("CHAVE0"), chave0);
  insercao.SetParam(QStringLiteral("CHAVE3"), chave3);
  insercao.SetParam(QStringLiteral("INC"), inclui);
  insercao.Executar();
}

QStringList Ordens(int de, int ate) {
  QStringList ordens;
  for (int o = de; de <= ate ? o <= ate : o >= ate; de <= ate ? ++o : --o) ordens << QString::number(o);
  return ordens;
}

// The log: changes 3 and 6 are meant for branch 01, 4, 5, 8 and 9 for
// branch 02 (TRANSFESTOQUE by CHAVE3, MVGERAL by CHAVE0, whatever the other
// key holds); the rest, TRANSF_ESTOQUE with its underscore and a change
// with INCINTEGMAQUINA "N" included, go to every machine.
void Log(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'CX01', 2);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'CX02', 5);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('02', 'CX01', 0);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('03', 'CX01', NULL);
)"));
  Mudanca(banco, 1, QStringLiteral("PRODUTOS"));
  Mudanca(banco, 2, QStringLiteral("PRODUTOS"));
  Mudanca(banco, 3, QStringLiteral("TRANSFESTOQUE"), QStringLiteral("02"), QStringLiteral("01"));
  Mudanca(banco, 4, QStringLiteral("TRANSFESTOQUE"), QStringLiteral("01"), QStringLiteral("02"));
  Mudanca(banco, 5, QStringLiteral("MVGERAL"), QStringLiteral("02"), QStringLiteral("01"));
  Mudanca(banco, 6, QStringLiteral("MVGERAL"), QStringLiteral("01"), QStringLiteral("02"));
  Mudanca(banco, 7, QStringLiteral("TRANSF_ESTOQUE"));
  Mudanca(banco, 8, QStringLiteral("TRANSFESTOQUE"), QStringLiteral("01"), QStringLiteral("02"));
  Mudanca(banco, 9, QStringLiteral("MVGERAL"), QStringLiteral("02"), QStringLiteral("01"));
  Mudanca(banco, 10, QStringLiteral("PRODUTOS"), QString(), QString(), QStringLiteral("N"));
  for (int ordem = 11; ordem <= 30; ++ordem) Mudanca(banco, ordem, QStringLiteral("CLIENTES"), QString::number(ordem));
}

TEST(CatalogoSincronizados, ProximosDepoisDoUltimoIdEDaFilialDaChave) {
  BancoTeste banco;
  Log(banco);
  banco.Executar(QStringLiteral(
      "UPDATE MVINTEGGERAL SET ACAO = 'E', CHAVE1 = 'k1', CHAVE2 = 'k2', CHAVE4 = 'k4', CHAVE5 = 'k5', CHAVE6 = 'k6', "
      "CHAVE7 = 'k7', CHAVE8 = 'k8', CHAVE9 = 'k9', DATAHORA = '2024-05-06 07:08:09' WHERE ORDEM = 3"));

  auto proximos = [&](const QString& sql, const QString& filial, const QString& maquina) {
    return Abrir(banco, sql, {{"PMaquina", filial}, {"PMaqECF", maquina}}, {"ORDEM"});
  };
  // The branch code stands four times and the machine twice: each machine's
  // own last id, each branch's own changes.
  QStringList cx01 = QStringList{"3", "6", "7", "10"} + Ordens(11, 30);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "01", "CX01"), cx01);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistros(), "01", "CX01"), cx01.mid(0, 15));
  QStringList cx02 = QStringList{"6", "7", "10"} + Ordens(11, 30);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "01", "CX02"), cx02);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistros(), "01", "CX02"), cx02.mid(0, 15));
  QStringList filial02 = QStringList{"1", "2", "4", "5", "7", "8", "9", "10"} + Ordens(11, 30);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "02", "CX01"), filial02);
  EXPECT_EQ(proximos(Catalogo::ProximosRegistros(), "02", "CX01"), filial02.mid(0, 15));

  // No last id, or no machine row: nothing is next.
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "03", "CX01"), QStringList());
  EXPECT_EQ(proximos(Catalogo::ProximosRegistros(), "03", "CX01"), QStringList());
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "04", "CX01"), QStringList());
  EXPECT_EQ(proximos(Catalogo::ProximosRegistros(), "01", "CX03"), QStringList());

  // Every column of the log comes back, in the table's order.
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::ProximosRegistros());
  Vincular(consulta, {{"pmaquina", "01"}, {"PMAQECF", "CX01"}});
  consulta.Abrir();
  EXPECT_EQ(consulta.Colunas(), kColunasMvIntegGeral);
  EXPECT_EQ(Linhas(consulta, kColunasMvIntegGeral).first(),
            QStringLiteral("3|E|TRANSFESTOQUE|02|k1|k2|01|k4|k5|k6|k7|k8|k9|S|2024-05-06 07:08:09"));

  // Values that would widen the condition if spliced match nothing.
  EXPECT_EQ(proximos(Catalogo::ProximosRegistrosTodos(), "';", "' OR ''='"), QStringList());
}

TEST(CatalogoSincronizados, EnviadosSoOsAtualizadosDaMaquina) {
  BancoTeste banco;
  Log(banco);
  for (int ordem = 1; ordem <= 20; ++ordem)
    banco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES "
                                  "('01', 'CX01', %1, %2)")
                       .arg(ordem)
                       .arg(ordem == 20 ? QStringLiteral("NULL") : ordem == 19 ? QStringLiteral("'N'")
                                                                                  : QStringLiteral("'S'")));
  // A delivery whose change left the log is not listed; other machines'
  // deliveries belong to them.
  banco.Executar(QStringLiteral(R"(
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', 99, 'S');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX02', 25, 'S');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('02', 'CX01', 26, 'S');
)"));
  auto enviados = [&](const QString& filial, const QString& maquina) {
    return Abrir(banco, Catalogo::RegistrosEnviados(), {{"PMAQUINA", filial}, {"pmaqecf", maquina}}, {"ORDEM"});
  };
  EXPECT_EQ(enviados("01", "CX01"), Ordens(18, 4));
  EXPECT_EQ(enviados("01", "CX02"), QStringList{"25"});
  EXPECT_EQ(enviados("02", "CX01"), QStringList{"26"});
  EXPECT_EQ(enviados("02", "CX02"), QStringList());

  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::RegistrosEnviados());
  Vincular(consulta, {{"PMaquina", "01"}, {"PMaqECF", "CX02"}});
  consulta.Abrir();
  EXPECT_EQ(consulta.Colunas(), kColunasMvIntegGeral);
  EXPECT_EQ(Linhas(consulta, kColunasMvIntegGeral),
            QStringList{"25|A|CLIENTES|25|<nulo>|<nulo>||<nulo>|<nulo>|<nulo>|<nulo>|<nulo>|<nulo>|S|<nulo>"});
}

TEST(CatalogoSincronizados, RecebidosMaisNovosPrimeiroComRotulos) {
  BancoTeste banco;
  // Entries 1 to 17 of 01/CX01, each older than the one before; an entry
  // without ID is the newest of all. Other machines' entries stay out.
  const QDateTime base(QDate(2026, 1, 31), QTime(23, 0, 0));
  const QStringList acoes = {"'A'", "'I'", "'E'", "'P'", "'X'", "NULL"};
  const QStringList status = {"0", "1", "2", "3", "4", "NULL"};
  for (int id = 1; id <= 17; ++id)
    banco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, "
                                  "TABELA, SCRIPT, DATA_INCLUSAO, DATA_EXECUCAO) VALUES (%1, %2, '01', 'CX01', %3, %4, "
                                  "'PRODUTOS', 'update produtos set x = %1;', '%5', %6)")
                       .arg(id)
                       .arg(500 + id)
                       .arg(acoes[id % 6], status[id % 6],
                            base.addSecs(-id * 3601).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                            id % 2 ? QStringLiteral("'2026-02-01 08:00:01'") : QStringLiteral("NULL")));
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, DATA_INCLUSAO) VALUES (NULL, '01', 'CX01', 'I', 0, 'CLIENTES', 'x', '2026-02-01 00:00:00');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, ACAO, STATUS, DATA_INCLUSAO) VALUES (90, '01', 'CX02', 'I', 0, '2026-03-01 00:00:00');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, ACAO, STATUS, DATA_INCLUSAO) VALUES (91, '02', 'CX01', 'I', 0, '2026-03-01 00:00:00');
)"));
  // A script longer than any text parameter, with accents, read whole.
  QString script;
  for (int i = 0; script.size() < 30000; ++i) script += QStringLiteral("update ação set x = %1;\r\n").arg(i);
  banco.Executar(QStringLiteral("UPDATE FILAINTEGOFFLINE SET SCRIPT = '%1' WHERE ID = 2").arg(script));
  banco.Executar(QStringLiteral("UPDATE FILAINTEGOFFLINE SET SCRIPT = SCRIPT || SCRIPT WHERE ID = 2"));

  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::RegistrosRecebidos());
  // The statement writes :pCodEmpresa and :pMaqECF.
  Vincular(consulta, {{"PCodEmpresa", "01"}, {"PMaqEcf", "CX01"}});
  consulta.Abrir();
  const QStringList colunas = {"ID",     "ID_ORIGEM", "ACAO",          "STATUS",
                               "TABELA", "SCRIPT",    "DATA_INCLUSAO", "DATA_EXECUCAO"};
  EXPECT_EQ(consulta.Colunas(), colunas);
  ASSERT_EQ(consulta.QtdLinhas(), 15);
  EXPECT_EQ(consulta.Valor(2, QStringLiteral("SCRIPT")).AsString(), script + script);

  // The server gives each CASE the width of its longest label.
  const QStringList rotulosAcao = {"Alteração", "Inclusão", "Exclusão", "Procedure", "<nulo>", "<nulo>"};
  const QStringList rotulosStatus = {"Não Executado", "Executado", "Exec. e Sinc", "Erro", "<nulo>", "<nulo>"};
  auto largo = [](const QString& rotulo, int largura) {
    return rotulo == u"<nulo>" ? rotulo : rotulo.leftJustified(largura);
  };
  QStringList esperado{QStringLiteral("<nulo>|<nulo>|%1|%2|CLIENTES|x|2026-02-01 00:00:00|<nulo>")
                           .arg(largo(QStringLiteral("Inclusão"), 9), largo(QStringLiteral("Não Executado"), 13))};
  for (int id = 1; id <= 14; ++id)
    esperado << QStringLiteral("%1|%2|%3|%4|PRODUTOS|%5|%6|%7")
                    .arg(id)
                    .arg(500 + id)
                    .arg(largo(rotulosAcao[id % 6], 9), largo(rotulosStatus[id % 6], 13),
                         id == 2 ? QStringLiteral("<longo>") : QStringLiteral("update produtos set x = %1;").arg(id),
                         base.addSecs(-id * 3601).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                         id % 2 ? QStringLiteral("2026-02-01 08:00:01") : QStringLiteral("<nulo>"));
  QStringList linhas = Linhas(consulta, colunas);
  linhas[2].replace(script + script, QStringLiteral("<longo>"));
  EXPECT_EQ(linhas, esperado);
}

TEST(CatalogoSincronizados, ColunasDaChavePrimariaNaOrdemDaChave) {
  BancoTeste banco;
  banco.Executar(QStringLiteral("CREATE TABLE ITENS (B INTEGER NOT NULL, C VARCHAR(5) NOT NULL, A INTEGER NOT NULL, "
                                "D INTEGER, CONSTRAINT PK_ITENS PRIMARY KEY (C, A, B))"));
  banco.Executar(QStringLiteral("CREATE TABLE SEMCHAVE (A INTEGER NOT NULL, CONSTRAINT UQ_SEMCHAVE UNIQUE (A))"));
  banco.Executar(QStringLiteral(
      "CREATE TABLE DEZ (K0 INTEGER NOT NULL, K1 INTEGER NOT NULL, K2 INTEGER NOT NULL, K3 INTEGER NOT NULL, "
      "K4 INTEGER NOT NULL, K5 INTEGER NOT NULL, K6 INTEGER NOT NULL, K7 INTEGER NOT NULL, K8 INTEGER NOT NULL, "
      "K9 INTEGER NOT NULL, PRIMARY KEY (K9, K3, K1, K0, K2, K4, K5, K6, K7, K8))"));

  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::ChavePrimaria());
  // The names come back padded with blanks.
  auto chave = [&](const QString& tabela) {
    Vincular(consulta, {{"tabela", tabela}});
    consulta.Abrir();
    QStringList nomes;
    for (int i = 0; i < consulta.QtdLinhas(); ++i) {
      const QString nome = consulta.Valor(i, QStringLiteral("RDB$FIELD_NAME")).AsString();
      EXPECT_GE(nome.size(), 31);
      EXPECT_EQ(nome, nome.trimmed().leftJustified(nome.size()));
      nomes << nome.trimmed();
    }
    return nomes;
  };
  EXPECT_EQ(chave("ITENS"), QStringList({"C", "A", "B"}));
  EXPECT_EQ(chave("DEZ"), QStringList({"K9", "K3", "K1", "K0", "K2", "K4", "K5", "K6", "K7", "K8"}));
  EXPECT_EQ(chave("INTEGERRO"), QStringList({"CODEMPRESA", "MAQUINAECF", "IDINTEGERRO"}));
  // No primary key (a unique one is not it), unknown or lower-case names,
  // and a name holding SQL: an empty list.
  EXPECT_EQ(chave("SEMCHAVE"), QStringList());
  EXPECT_EQ(chave("PARAWEB"), QStringList());
  EXPECT_EQ(chave("itens"), QStringList());
  EXPECT_EQ(chave("NAOEXISTE"), QStringList());
  EXPECT_EQ(chave("X' OR ''='"), QStringList());
}

}  // namespace
