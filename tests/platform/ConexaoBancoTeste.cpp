#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/FalhaBanco.h"

namespace {

QString Mensagem(const std::function<void()>& acao) {
  try {
    acao();
  } catch (const Falha& f) {
    return f.Mensagem();
  }
  return QStringLiteral("<sem falha>");
}

TEST(ConexaoBanco, ParametrosNaOrdemComOsPadroes) {
  ConexaoBanco conexao;
  QStringList nomes, valores;
  for (const auto& p : conexao.Params()) {
    nomes << p.first;
    valores << p.second;
  }
  EXPECT_EQ(nomes, (QStringList{"DriverName", "Database", "RoleName", "User_Name", "Password", "ServerCharSet",
                                "SQLDialect", "ErrorResourceFile", "LocaleCode", "BlobSize", "CommitRetain",
                                "WaitOnLocks", "Interbase TransIsolation", "Trim Char"}));
  EXPECT_EQ(valores, (QStringList{"Interbase", "bancodados.fb", "RoleName", "sysdba", "quartzfen", "", "1", "",
                                  "0000", "-1", "False", "True", "ReadCommited", "False"}));
  conexao.SetParam(QStringLiteral("database"), QStringLiteral("/x.fdb"));
  EXPECT_EQ(conexao.Param(QStringLiteral("Database")), QStringLiteral("/x.fdb"));
  EXPECT_EQ(conexao.Params().size(), 14);
  EXPECT_FALSE(conexao.Aberta());
}

TEST(ConexaoBanco, ArquivoAusenteDaOTextoDoCliente) {
  ConexaoBanco conexao;
  conexao.SetParam(QStringLiteral("Database"), QStringLiteral("/nao/existe/banco.fdb"));
  try {
    conexao.Abrir();
    FAIL() << "abriu um banco inexistente";
  } catch (const FalhaBanco& f) {
    EXPECT_TRUE(f.Mensagem().contains(QStringLiteral("/nao/existe/banco.fdb"))) << f.Mensagem().toStdString();
    EXPECT_TRUE(f.Mensagem().contains(QStringLiteral("\n-"))) << "todas as linhas do texto do cliente";
    EXPECT_TRUE(f.VeioDoBanco());
  }
  EXPECT_FALSE(conexao.Aberta());
}

TEST(ConsultaSql, InstrucaoAbreAConexaoFechadaEValoresVoltamComoSao) {
  BancoTeste banco;
  banco.Executar(QStringLiteral(
      "INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) "
      "VALUES ('1', '', 7, '2026-03-04 05:06:07', NULL, 'N')"));
  ConexaoBanco conexao;
  banco.Configurar(conexao);
  ConsultaSql consulta(&conexao);
  consulta.SetSql(QStringLiteral("SELECT * FROM INTEGERRO"));
  consulta.Abrir();
  EXPECT_TRUE(conexao.Aberta());
  ASSERT_EQ(consulta.QtdLinhas(), 1);
  EXPECT_EQ(consulta.Valor(0, QStringLiteral("codempresa")).AsString(), QStringLiteral("1 "));  // CHAR keeps blanks
  EXPECT_TRUE(consulta.Valor(0, QStringLiteral("MAQUINAECF")).EhTexto());
  EXPECT_EQ(consulta.Valor(0, QStringLiteral("MAQUINAECF")).AsString(), QString());
  EXPECT_TRUE(consulta.Valor(0, QStringLiteral("MSGERRO")).EhNulo());
  EXPECT_EQ(consulta.Valor(0, QStringLiteral("IDINTEGERRO")).AsInteger(), 7);
  EXPECT_EQ(consulta.Valor(0, QStringLiteral("DATAERRO")).AsDateTime(),
            QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
  EXPECT_EQ(Mensagem([&] { consulta.Valor(0, QStringLiteral("NAOEXISTE")); }).isEmpty(), false);
}

TEST(ConsultaSql, ParametrosNomeadosRepetidosSemCasoEVinculados) {
  BancoTeste banco;
  ConexaoBanco& conexao = banco.Conexao();
  ConsultaSql consulta(&conexao);
  consulta.SetSql(QStringLiteral("SELECT CAST(:A AS VARCHAR(400)) || '|' || CAST(:b AS VARCHAR(400)) || '|' || "
                                 "CAST(:a AS VARCHAR(400)) FROM RDB$DATABASE"));
  EXPECT_EQ(consulta.NomesParametros(), (QStringList{"A", "B"}));
  consulta.SetParam(QStringLiteral("a"), QStringLiteral("x'; DROP TABLE FILIAIS; --"));
  consulta.SetParam(QStringLiteral("B"), QStringLiteral("ção€"));
  consulta.Abrir();
  EXPECT_EQ(consulta.Valor(0, 0).AsString(), QStringLiteral("x'; DROP TABLE FILIAIS; --|ção€|x'; DROP TABLE FILIAIS; --"));
  // Executed again with other values, still prepared once.
  const quint64 preparos = conexao.Preparos();
  consulta.SetParam(QStringLiteral("A"), QString(300, u'z'));
  consulta.SetParamNulo(QStringLiteral("b"));
  consulta.Abrir();
  EXPECT_TRUE(consulta.Valor(0, 0).EhNulo());
  EXPECT_EQ(conexao.Preparos(), preparos);
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'FILIAIS'")),
            QStringLiteral("1"));
}

TEST(ConsultaSql, BlobInteiroWindows1252EContagemDeLinhas) {
  BancoTeste banco;
  ConsultaSql insercao(&banco.Conexao());
  insercao.SetSql(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, MSGERRO, CONFERIDO) "
                                 "VALUES (:E, :M, :I, :T, 'N')"));
  QString longo;
  for (int i = 0; i < 20000; ++i) longo += QStringLiteral("Ação ‰ %1\r\n").arg(i);
  insercao.SetParam(QStringLiteral("E"), QStringLiteral("01"));
  insercao.SetParam(QStringLiteral("M"), QStringLiteral("1"));
  insercao.SetParam(QStringLiteral("I"), QStringLiteral("1"));
  insercao.SetParam(QStringLiteral("T"), longo.left(30000));
  EXPECT_EQ(insercao.Executar(), 1);
  ConsultaSql leitura(&banco.Conexao());
  leitura.SetSql(QStringLiteral("SELECT MSGERRO FROM INTEGERRO"));
  leitura.Abrir();
  EXPECT_EQ(leitura.Valor(0, 0).AsString(), longo.left(30000));

  // Outside a transaction, a query with BLOB columns reads in a read-only
  // snapshot of its own (its BLOBs outlive a change committed after the
  // fetch); one without them keeps the connection's read committed.
  const QString isolamento = QStringLiteral(
      "SELECT %1 T.MON$ISOLATION_MODE, T.MON$READ_ONLY FROM MON$TRANSACTIONS T "
      "WHERE T.MON$TRANSACTION_ID = CURRENT_TRANSACTION");
  ConsultaSql comBlob(&banco.Conexao());
  comBlob.SetSql(isolamento.arg(QStringLiteral("CAST('x' AS BLOB SUB_TYPE 1),")));
  comBlob.Abrir();
  EXPECT_EQ(comBlob.Valor(0, 0).AsString(), QStringLiteral("x"));
  EXPECT_EQ(comBlob.Valor(0, 1).AsInteger(), 1);  // concurrency
  EXPECT_EQ(comBlob.Valor(0, 2).AsInteger(), 1);
  ConsultaSql semBlob(&banco.Conexao());
  semBlob.SetSql(isolamento.arg(QString()));
  semBlob.Abrir();
  EXPECT_EQ(semBlob.Valor(0, 0).AsInteger(), 2);  // read committed, record versions
  EXPECT_EQ(semBlob.Valor(0, 1).AsInteger(), 0);
  ConsultaSql alteracao(&banco.Conexao());
  alteracao.SetSql(QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'S' WHERE CODEMPRESA = '99'"));
  EXPECT_EQ(alteracao.Executar(), 0);
}

// Every column type a dialect-1 database yields, read back with a row of
// NULLs; a dialect-1 DATE carries a time.
TEST(ConsultaSql, CadaTipoDeColunaDoDialeto1) {
  BancoTeste banco;
  banco.Executar(QStringLiteral(
      "CREATE TABLE TIPOS (PEQUENO SMALLINT, INTEIRO INTEGER, N4 NUMERIC(4,2), N9 NUMERIC(9,3), N15 NUMERIC(15,2), "
      "DUPLO DOUBLE PRECISION, SIMPLES FLOAT, FIXO CHAR(6), VARIAVEL VARCHAR(20), DATA DATE, MOMENTO TIMESTAMP, "
      "TEXTO BLOB SUB_TYPE TEXT, LOGICO BOOLEAN)"));
  ConsultaSql insercao(&banco.Conexao());
  insercao.SetSql(QStringLiteral("INSERT INTO TIPOS VALUES (-7, 2000000001, -1.25, 1234.567, 9876543210.25, 0.1, "
                                 "0.5, :T, :T, '2026-03-04 05:06:07', '2026-03-04 05:06:07.890', :T, TRUE)"));
  insercao.SetParam(QStringLiteral("T"), QStringLiteral("Ação€"));
  insercao.Executar();
  banco.Executar(QStringLiteral("INSERT INTO TIPOS (LOGICO) VALUES (FALSE)"));
  banco.Executar(QStringLiteral("INSERT INTO TIPOS (PEQUENO) VALUES (NULL)"));
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(QStringLiteral("SELECT * FROM TIPOS"));
  consulta.Abrir();
  ASSERT_EQ(consulta.QtdLinhas(), 3);
  const std::vector<ValorCampo>& v = consulta.Linha(0);
  EXPECT_EQ(v[0], ValorCampo::Inteiro(-7));
  EXPECT_EQ(v[1], ValorCampo::Inteiro(2000000001));
  EXPECT_EQ(v[2], ValorCampo::Real(-1.25));
  EXPECT_DOUBLE_EQ(v[3].AsFloat(), 1234.567);
  EXPECT_EQ(v[4], ValorCampo::Real(9876543210.25));
  EXPECT_EQ(v[5], ValorCampo::Real(0.1));
  EXPECT_EQ(v[6], ValorCampo::Real(0.5));
  EXPECT_EQ(v[7], ValorCampo::Texto(QStringLiteral("Ação€ ")));
  EXPECT_EQ(v[8], ValorCampo::Texto(QStringLiteral("Ação€")));
  EXPECT_EQ(v[9], ValorCampo::DataHora(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))));
  EXPECT_EQ(v[10], ValorCampo::DataHora(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 890))));
  EXPECT_EQ(v[11], ValorCampo::Texto(QStringLiteral("Ação€")));
  EXPECT_EQ(v[12], ValorCampo::Inteiro(1));
  EXPECT_EQ(consulta.Linha(1)[12], ValorCampo::Inteiro(0));
  for (const ValorCampo& nulo : consulta.Linha(2)) EXPECT_TRUE(nulo.EhNulo());

  // BIGINT is refused in dialect-1 DDL; system columns still have it.
  banco.Executar(QStringLiteral("CREATE SEQUENCE SEQ_TIPOS START WITH 2000000002"));
  consulta.SetSql(QStringLiteral("SELECT RDB$INITIAL_VALUE FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'SEQ_TIPOS'"));
  consulta.Abrir();
  EXPECT_EQ(consulta.Valor(0, 0), ValorCampo::Inteiro(2000000002));
}

TEST(ConexaoBanco, TransacaoExplicitaConfirmaOuDesfaz) {
  BancoTeste banco;
  ConexaoBanco conexao;
  banco.Configurar(conexao);
  ConsultaSql insercao(&conexao);
  insercao.SetSql(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES (:V)"));
  conexao.IniciarTransacao();
  insercao.SetParam(QStringLiteral("V"), QStringLiteral("S"));
  insercao.Executar();
  EXPECT_TRUE(conexao.EmTransacao());
  conexao.CancelarTransacao();
  EXPECT_FALSE(conexao.EmTransacao());
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM PARAWEB")), QStringLiteral("0"));
  conexao.IniciarTransacao();
  insercao.SetParam(QStringLiteral("V"), QStringLiteral("N"));
  insercao.Executar();
  conexao.ConfirmarTransacao();
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT UTILIZAINTEGWEBSERVICE FROM PARAWEB")), QStringLiteral("N"));
  // Outside a transaction each statement commits by itself.
  insercao.Executar();
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM PARAWEB")), QStringLiteral("2"));
}

TEST(ConsultaSql, ErroDoServidorLevaTodasAsLinhas) {
  BancoTeste banco;
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(QStringLiteral("SELECT NADA FROM TABELA_QUE_NAO_EXISTE"));
  const QString texto = Mensagem([&] { consulta.Abrir(); });
  EXPECT_TRUE(texto.contains(QStringLiteral("TABELA_QUE_NAO_EXISTE"))) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("\n-"))) << texto.toStdString();
  EXPECT_FALSE(consulta.Ativa());
}

}  // namespace
