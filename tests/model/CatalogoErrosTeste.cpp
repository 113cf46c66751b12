// The error list, its two writes, and the reprocessing of errored queue
// entries: exact rows read, exact rows left in the tables.

#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "CatalogoTesteApoio.h"
#include "model/Catalogo.h"
#include "platform/Falha.h"

using namespace CatalogoTeste;

namespace {

const QStringList kColunasErro = {"CODEMPRESA", "MAQUINAECF", "IDINTEGERRO", "DATAERRO", "MSGERRO", "CONFERIDO"};

const QString kLonga = QStringLiteral("Violação de chave: ") + QString(300, u'x');

// Five errors of 01/CX01 (open: 1 and 5; 3 has no flag, 4 an empty one),
// two of 01/CX02 and one of branch 02, numbered anew per machine.
void Erros(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX01', 1, '2026-01-01 10:00:00', 'primeira', 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX01', 2, '2026-01-03 00:00:00', NULL, 'S');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX01', 3, '2026-01-02 00:00:00', 'terceira', NULL);
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX01', 4, '2026-01-04 00:00:00', '', '');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX01', 5, '2026-01-01 11:30:00', NULL, 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX02', 1, '2026-01-05 00:00:00', 'outra máquina', 'N');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('01', 'CX02', 2, '2026-01-05 01:00:00', NULL, 'S');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) VALUES ('02', 'CX01', 1, '2026-01-06 00:00:00', 'outra filial', 'N');
)"));
  banco.Executar(QStringLiteral("UPDATE INTEGERRO SET MSGERRO = '%1' WHERE CODEMPRESA = '01' AND MAQUINAECF = 'CX01' "
                                "AND IDINTEGERRO = 5")
                     .arg(kLonga));
}

QStringList Flags(BancoTeste& banco) {
  return Conteudo(banco, QStringLiteral("SELECT CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO FROM INTEGERRO "
                                        "ORDER BY CODEMPRESA, MAQUINAECF, IDINTEGERRO"));
}

const QStringList kFlagsIniciais = {"01|CX01|1|N", "01|CX01|2|S", "01|CX01|3|<nulo>", "01|CX01|4| ",
                                    "01|CX01|5|N", "01|CX02|1|N", "01|CX02|2|S", "02|CX01|1|N"};

Valores Marca(const QString& conferido, const QString& filial, const QString& maquina, const QString& id) {
  return {{"PConferido", conferido}, {"PCodEmpresa", filial}, {"PMaqECF", maquina}, {"PIdIntegErro", id}};
}

TEST(CatalogoErros, ListaAbertosOuTodosMaisNovosPrimeiro) {
  BancoTeste banco;
  Erros(banco);

  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::ErrosTodos());
  Vincular(consulta, {{"pcodempresa", "01"}, {"PMAQECF", "CX01"}});
  consulta.Abrir();
  EXPECT_EQ(consulta.Colunas(), kColunasErro);
  // Newest first; the time of day counts. NULL and empty texts stay apart.
  EXPECT_EQ(Linhas(consulta, kColunasErro),
            QStringList({"01|CX01|4|2026-01-04 00:00:00|| ", "01|CX01|2|2026-01-03 00:00:00|<nulo>|S",
                         "01|CX01|3|2026-01-02 00:00:00|terceira|<nulo>",
                         "01|CX01|5|2026-01-01 11:30:00|" + kLonga + "|N",
                         "01|CX01|1|2026-01-01 10:00:00|primeira|N"}));

  // Only "N" is open: not NULL, not an empty flag.
  const auto ids = [&](bool abertos, const QString& filial, const QString& maquina) {
    return Abrir(banco, Catalogo::Erros(abertos), {{"PCodEmpresa", filial}, {"PMaqECF", maquina}}, {"IDINTEGERRO"});
  };
  EXPECT_EQ(ids(true, "01", "CX01"), QStringList({"5", "1"}));
  EXPECT_EQ(ids(true, "01", "CX02"), QStringList({"1"}));
  EXPECT_EQ(ids(false, "01", "CX02"), QStringList({"2", "1"}));
  EXPECT_EQ(ids(false, "02", "CX02"), QStringList());
  EXPECT_EQ(ids(false, "';", "' OR ''='"), QStringList());
}

TEST(CatalogoErros, MarcarUmErroSoMudaAquelaLinha) {
  BancoTeste banco;
  Erros(banco);
  // The same number on another machine and another branch stays as it was.
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(), Marca("S", "01", "CX01", "1")), 1);
  QStringList esperado = kFlagsIniciais;
  esperado[0] = QStringLiteral("01|CX01|1|S");
  EXPECT_EQ(Flags(banco), esperado);
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(),
                     {{"pconferido", "N"}, {"PCODEMPRESA", "01"}, {"pMaqEcf", "CX01"}, {"pidintegerro", "1"}}),
            1);
  EXPECT_EQ(Flags(banco), kFlagsIniciais);
  // An empty flag is set like any other.
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(), Marca("S", "01", "CX01", "4")), 1);
  esperado = kFlagsIniciais;
  esperado[3] = QStringLiteral("01|CX01|4|S");
  EXPECT_EQ(Flags(banco), esperado);
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(), Marca("S", "01", "CX03", "1")), 0);

  // Values holding SQL are bound: they match nothing, or the server refuses
  // them as values; either way no row changes.
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(), Marca("S", "01", "' OR ''='", "1")), 0);
  EXPECT_EQ(Executar(banco, Catalogo::GravarConferido(), Marca("S", "';", "CX01", "1")), 0);
  EXPECT_THROW(Executar(banco, Catalogo::GravarConferido(), Marca("S", "01", "CX01", "1 OR 1=1")), Falha);
  EXPECT_THROW(Executar(banco, Catalogo::GravarConferido(), Marca("S'; --", "01", "CX01", "1")), Falha);
  EXPECT_EQ(Flags(banco), esperado);
}

TEST(CatalogoErros, MarcarTodosNumaTransacaoTudoOuNada) {
  BancoTeste banco;
  Erros(banco);
  ConexaoBanco& conexao = banco.Conexao();
  ConsultaSql gravar(&conexao);
  gravar.SetSql(Catalogo::GravarConferido());
  quint64 preparos = 0;
  const auto marcarTodos = [&](const QStringList& ids) {
    for (const QString& id : ids) {
      Vincular(gravar, Marca("S", "01", "CX01", id));
      const quint64 antes = conexao.Preparos();
      EXPECT_EQ(gravar.Executar(), 1);
      preparos += conexao.Preparos() - antes;
    }
  };

  // Rolled back: the updates that ran are undone.
  conexao.IniciarTransacao();
  marcarTodos({"5", "1"});
  conexao.CancelarTransacao();
  EXPECT_EQ(Flags(banco), kFlagsIniciais);

  // A failure halfway, then the rollback: the first update is undone too.
  conexao.IniciarTransacao();
  marcarTodos({"5"});
  Vincular(gravar, Marca("S", "01", "CX01", "x"));
  EXPECT_THROW(gravar.Executar(), Falha);
  conexao.CancelarTransacao();
  EXPECT_EQ(Flags(banco), kFlagsIniciais);

  conexao.IniciarTransacao();
  marcarTodos({"5", "1"});
  conexao.ConfirmarTransacao();
  QStringList esperado = kFlagsIniciais;
  esperado[0] = QStringLiteral("01|CX01|1|S");
  esperado[4] = QStringLiteral("01|CX01|5|S");
  EXPECT_EQ(Flags(banco), esperado);
  EXPECT_EQ(Abrir(banco, Catalogo::ErrosNaoConferidos(), {{"PCodEmpresa", "01"}, {"PMaqECF", "CX01"}},
                  {"IDINTEGERRO"}),
            QStringList());
  // One preparation served every execution, in and out of transactions.
  EXPECT_EQ(preparos, 1u);
}

TEST(CatalogoErros, ExcluirLevaOsErrosDeTodasAsMaquinasDaFilial) {
  BancoTeste banco;
  Erros(banco);
  const QStringList todos = Flags(banco);
  ASSERT_EQ(todos.size(), 8);

  // Bound, never spliced; too long for the column, refused.
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{"PCodEmpresa", "';"}}), 0);
  EXPECT_THROW(Executar(banco, Catalogo::ExcluirErros(), {{"PCodEmpresa", "'; DELETE FROM INTEGERRO; --"}}), Falha);
  EXPECT_EQ(Flags(banco), todos);

  // Rolled back: every row is still there.
  banco.Conexao().IniciarTransacao();
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{"PCodEmpresa", "01"}}), 7);
  banco.Conexao().CancelarTransacao();
  EXPECT_EQ(Flags(banco), todos);

  // Both machines of the branch, acknowledged or not; the other branch stays.
  banco.Conexao().IniciarTransacao();
  EXPECT_EQ(Executar(banco, Catalogo::ExcluirErros(), {{"pcodempresa", "01"}}), 7);
  banco.Conexao().ConfirmarTransacao();
  EXPECT_EQ(Flags(banco), QStringList{"02|CX01|1|N"});
}

// Queue entries of three branches and several machines; ID_ORIGEM orders them.
void FilaComErros(BancoTeste& banco) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (1, 1, '01', 'CX01', 3, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (2, 2, '01', 'CX02', 3, 'BLOQUEADA');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (3, 3, '02', 'CX01', 3, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (4, 4, '01', 'CX01', 0, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (5, 5, '01', 'CX01', 1, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (6, 6, '02', 'CX01', 2, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (7, 7, '02', 'CX02', 4, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (NULL, 8, '03', 'CX01', 3, 'PRODUTOS');
INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, STATUS, TABELA) VALUES (9, 9, '01', 'CX01', NULL, 'PRODUTOS');
)"));
}

QStringList Estados(BancoTeste& banco) {
  return Conteudo(banco, QStringLiteral("SELECT ID_ORIGEM, STATUS FROM FILAINTEGOFFLINE ORDER BY ID_ORIGEM"));
}

TEST(CatalogoErros, ReprocessarTodasAsFiliaisOuNenhuma) {
  BancoTeste banco;
  FilaComErros(banco);
  const QStringList antes = {"1|3", "2|3", "3|3", "4|0", "5|1", "6|2", "7|4", "8|3", "9|<nulo>"};
  EXPECT_EQ(Estados(banco), antes);

  // A trigger refusing one row fails the whole statement: nothing changes.
  banco.Executar(QStringLiteral("CREATE EXCEPTION E_RECUSA 'recusado'"));
  banco.Executar(QStringLiteral(
      "CREATE TRIGGER T_RECUSA FOR FILAINTEGOFFLINE BEFORE UPDATE AS BEGIN IF (NEW.ID = 3) THEN EXCEPTION E_RECUSA; "
      "END"));
  try {
    Executar(banco, Catalogo::ReprocessarErros());
    ADD_FAILURE() << "a atualização recusada passou";
  } catch (const Falha& falha) {
    EXPECT_TRUE(falha.VeioDoBanco());
    EXPECT_TRUE(falha.Mensagem().contains(QStringLiteral("recusado"))) << falha.Mensagem().toStdString();
  }
  EXPECT_EQ(Estados(banco), antes);
  banco.Executar(QStringLiteral("DROP TRIGGER T_RECUSA"));

  // So does a check that one row breaks.
  banco.Executar(QStringLiteral(
      "ALTER TABLE FILAINTEGOFFLINE ADD CONSTRAINT CK_FILA CHECK (STATUS <> 0 OR TABELA <> 'BLOQUEADA')"));
  EXPECT_THROW(Executar(banco, Catalogo::ReprocessarErros()), Falha);
  EXPECT_EQ(Estados(banco), antes);
  banco.Executar(QStringLiteral("ALTER TABLE FILAINTEGOFFLINE DROP CONSTRAINT CK_FILA"));

  // Inside a transaction that is rolled back, nothing stays either.
  banco.Conexao().IniciarTransacao();
  EXPECT_EQ(Executar(banco, Catalogo::ReprocessarErros()), 4);
  banco.Conexao().CancelarTransacao();
  EXPECT_EQ(Estados(banco), antes);

  // On its own it commits: every errored entry of every branch and machine
  // is pending again, an entry without ID included; no other state moves.
  EXPECT_EQ(Executar(banco, Catalogo::ReprocessarErros()), 4);
  EXPECT_FALSE(banco.Conexao().EmTransacao());
  const QStringList depois = {"1|0", "2|0", "3|0", "4|0", "5|1", "6|2", "7|4", "8|0", "9|<nulo>"};
  EXPECT_EQ(Estados(banco), depois);
  // Seen from another attachment, so it is committed.
  ConexaoBanco outra;
  banco.Configurar(outra);
  ConsultaSql leitura(&outra);
  leitura.SetSql(QStringLiteral("SELECT COUNT(*) AS N FROM FILAINTEGOFFLINE WHERE STATUS = 3"));
  leitura.Abrir();
  EXPECT_EQ(leitura.Valor(0, QStringLiteral("N")).AsString(), QStringLiteral("0"));
  EXPECT_EQ(Executar(banco, Catalogo::ReprocessarErros()), 0);
}

}  // namespace
