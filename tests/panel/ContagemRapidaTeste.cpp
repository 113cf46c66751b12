#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <random>

#include "BancoTeste.h"
#include "Credencial.h"
#include "DialogosGravados.h"
#include "app/ConfiguracaoBanco.h"
#include "app/LinhaComando.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/ParametrosPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

namespace {

// The delivery tables rebuilt without keys and without NOT NULL, so that a
// generated database may hold what a careless integration program leaves:
// duplicate rows, repeated change numbers, NULL in every column the counts
// look at.
void TabelasSoltas(BancoTeste& banco) {
  banco.Executar(QStringLiteral("DROP TABLE MVINTEGGERAL"));
  banco.Executar(QStringLiteral("DROP TABLE REGISTROSINTEGRADOS"));
  banco.Executar(QStringLiteral("DROP TABLE INTEGMAQUINA"));
  banco.Executar(QStringLiteral("DROP TABLE FILAINTEGOFFLINE"));
  banco.Executar(QStringLiteral("DROP TABLE IGFMAQUINA"));
  banco.Executar(QStringLiteral(R"(
CREATE TABLE MVINTEGGERAL (ORDEM INTEGER, ACAO CHAR(1), TABELA VARCHAR(30), CHAVE0 VARCHAR(30), CHAVE3 VARCHAR(30), INCINTEGMAQUINA CHAR(1));
CREATE INDEX IX_MV_ORDEM ON MVINTEGGERAL (ORDEM);
CREATE TABLE REGISTROSINTEGRADOS (MAQUINA VARCHAR(3), MAQUINAECF VARCHAR(10), ORDEM INTEGER);
CREATE INDEX IX_RI_MAQ ON REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM);
CREATE TABLE INTEGMAQUINA (MAQUINA VARCHAR(3), MAQUINAECF VARCHAR(10), ORDEM INTEGER, ATUALIZOU CHAR(1));
CREATE TABLE FILAINTEGOFFLINE (ID INTEGER, CODEMPRESA VARCHAR(3), MAQUINA VARCHAR(10), STATUS INTEGER);
CREATE TABLE IGFMAQUINA (MAQUINA VARCHAR(3) NOT NULL, MAQUINAECF VARCHAR(10), INTERVALO VARCHAR(10), QTDREGRECEB INTEGER, ULTRECEB DATE, ULTENVIO DATE, ULTIDSERVER INTEGER);
)"));
}

// Inserts rows through one prepared statement; an empty optional is NULL.
class Insercao {
 public:
  Insercao(ConexaoBanco& conexao, const QString& sql) : FConsulta(&conexao) { FConsulta.SetSql(sql); }
  void operator()(const QStringList& nomes, const QList<std::optional<QString>>& valores) {
    for (int i = 0; i < nomes.size(); ++i) {
      if (valores[i]) FConsulta.SetParam(nomes[i], *valores[i]);
      else FConsulta.SetParamNulo(nomes[i]);
    }
    FConsulta.Executar();
  }

 private:
  ConsultaSql FConsulta;
};

// One random database. The values are drawn from small sets so that keys
// collide often: branch codes with leading and trailing blanks, machine
// identifiers differing only by blanks, the table names of the count with
// and without underscores, and NULL everywhere it may stand.
void Gerar(BancoTeste& banco, unsigned semente) {
  std::mt19937 sorteio(semente);
  auto um = [&](const QList<std::optional<QString>>& opcoes) {
    return opcoes[int(sorteio() % unsigned(opcoes.size()))];
  };
  auto numero = [&](int maior, int chanceNulo) -> std::optional<QString> {
    if (int(sorteio() % 100) < chanceNulo) return std::nullopt;
    return QString::number(int(sorteio() % unsigned(maior)) + 1);
  };
  // Queue statuses 0 to 4, or NULL.
  auto situacao = [&]() -> std::optional<QString> {
    if (sorteio() % 10 == 0) return std::nullopt;
    return QString::number(int(sorteio() % 5));
  };
  const std::optional<QString> nulo;
  const QList<std::optional<QString>> empresas{QStringLiteral("01"), QStringLiteral("01 "), QStringLiteral(" 01"),
                                               QStringLiteral("02"), QStringLiteral(" 3"),  QStringLiteral("3"),
                                               QStringLiteral("4"),  QStringLiteral("4 "),  QStringLiteral("5\t"),
                                               QStringLiteral("5"),  nulo};
  const QList<std::optional<QString>> maquinas{QStringLiteral("A"),   QStringLiteral("A "), QStringLiteral(" A"),
                                               QStringLiteral("B"),   QStringLiteral("CX1"), QStringLiteral("CX1  "),
                                               QStringLiteral("b"),   QStringLiteral(""),  nulo};

  ConexaoBanco& conexao = banco.Conexao();
  conexao.IniciarTransacao();
  {
    for (const char* tabela : {"FILIAIS", "IGFMAQUINA", "MVINTEGGERAL", "REGISTROSINTEGRADOS", "INTEGMAQUINA",
                               "FILAINTEGOFFLINE"}) {
      ConsultaSql limpeza(&conexao);
      limpeza.SetSql(QStringLiteral("DELETE FROM ") + QLatin1String(tabela));
      limpeza.Executar();
    }
    Insercao filial(conexao, QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES (:C, :N)"));
    filial({"C", "N"}, {QStringLiteral("01"), QStringLiteral("Centro")});
    filial({"C", "N"}, {QStringLiteral("02"), QStringLiteral("Norte")});
    filial({"C", "N"}, {QStringLiteral(" 3"), QStringLiteral("Sul")});
    filial({"C", "N"}, {QStringLiteral("4"), QStringLiteral("Leste")});
    // A tab the per-machine way trims from the branch code; the server's TRIM does not.
    filial({"C", "N"}, {QStringLiteral("5\t"), QStringLiteral("Oeste")});
    Insercao maquina(conexao, QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES (:M, :E)"));
    maquina({"M", "E"}, {QStringLiteral("01"), QStringLiteral("A")});
    const int qtdMaquinas = 3 + int(sorteio() % 8);
    for (int i = 0; i < qtdMaquinas; ++i) {
      std::optional<QString> empresa = um(empresas);
      if (!empresa) empresa = QStringLiteral("02");
      maquina({"M", "E"}, {empresa, um(maquinas)});
    }
    const int alteracoes = 20 + int(sorteio() % 60);
    Insercao log(conexao, QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) "
                                         "VALUES (:O, :A, :T, :I)"));
    for (int i = 0; i < alteracoes; ++i)
      log({"O", "A", "T", "I"},
          {numero(alteracoes, 5),
           um({QStringLiteral("E"), QStringLiteral("I"), QStringLiteral("A"), nulo}),
           um({QStringLiteral("TRANSF_ESTOQUE"), QStringLiteral("TRANSF_ESTOQUE_ITENS"), QStringLiteral("TRANSFESTOQUE"),
               QStringLiteral("MVGERAL"), QStringLiteral("PRODUTO"), QStringLiteral("transf_estoque"), nulo}),
           um({QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("X"), nulo})});
    Insercao integrado(conexao, QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) "
                                               "VALUES (:M, :E, :O)"));
    const int integrados = int(sorteio() % 120);
    for (int i = 0; i < integrados; ++i)
      integrado({"M", "E", "O"}, {um(empresas), um(maquinas), numero(alteracoes, 5)});
    Insercao entrega(conexao, QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) "
                                             "VALUES (:M, :E, :O, :A)"));
    const int entregas = int(sorteio() % 40);
    for (int i = 0; i < entregas; ++i)
      entrega({"M", "E", "O", "A"}, {um(empresas), um(maquinas), numero(alteracoes, 5),
                                     um({QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("s"), nulo})});
    Insercao fila(conexao, QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) "
                                          "VALUES (:I, :C, :M, :S)"));
    const int entradas = int(sorteio() % 40);
    for (int i = 0; i < entradas; ++i)
      fila({"I", "C", "M", "S"}, {numero(1000, 15), um(empresas), um(maquinas), situacao()});
  }
  conexao.ConfirmarTransacao();
}

bool Iguais(const LinhaStatus& a, const LinhaStatus& b) {
  return a.CODEMPRESA == b.CODEMPRESA && a.NOME == b.NOME && a.MAQUINAECF == b.MAQUINAECF &&
         a.INTERVALO == b.INTERVALO && a.QTDREGRECEB == b.QTDREGRECEB && a.ULTRECEB == b.ULTRECEB &&
         a.ULTENVIO == b.ULTENVIO && a.QTDREGENVIAR == b.QTDREGENVIAR && a.STATUSERRO == b.STATUSERRO &&
         a.QTDREGFILA == b.QTDREGFILA;
}

TEST(ContagemRapida, MesmosNumerosEmBancosSorteados) {
  // Seeded: a failure names its seed and comes back the same on every run.
  // One file, emptied between draws: each draw is a database of its own.
  BancoTeste banco;
  TabelasSoltas(banco);
  int linhasVistas = 0, comEnviar = 0, comFila = 0;
  for (unsigned semente = 1; semente <= 20; ++semente) {
    Gerar(banco, semente);
    ConexaoBanco conexao;
    banco.Configurar(conexao);
    TabelaStatus lenta, rapida;
    AtualizacaoPainel porLinha(conexao, lenta);
    AtualizacaoPainel porConjunto(conexao, rapida);
    porConjunto.SetContagemRapida(true);
    porLinha.Atualizar();
    const quint64 antes = conexao.Execucoes();
    porConjunto.Atualizar();

    ASSERT_EQ(lenta.QtdLinhas(), rapida.QtdLinhas()) << "semente " << semente;
    ASSERT_GT(rapida.QtdLinhas(), 0) << "semente " << semente;
    // However many machines, one statement each: status, change log, every
    // machine's counts (and the per-machine pair for a tab-ended code).
    quint64 tabulados = 0;
    for (int i = 0; i < rapida.QtdLinhas(); ++i) tabulados += rapida.Linha(i).CODEMPRESA.endsWith(u'\t');
    EXPECT_EQ(conexao.Execucoes() - antes, 3 + 2 * tabulados) << "semente " << semente;
    for (int i = 0; i < lenta.QtdLinhas(); ++i) {
      const LinhaStatus& a = lenta.Linha(i);
      const LinhaStatus& b = rapida.Linha(i);
      EXPECT_TRUE(Iguais(a, b)) << "semente " << semente << ", linha " << i << " (" << qPrintable(a.CODEMPRESA) << "/"
                                << qPrintable(a.MAQUINAECF) << "): enviar " << a.QTDREGENVIAR << " x "
                                << b.QTDREGENVIAR << ", fila " << a.QTDREGFILA << " x " << b.QTDREGFILA;
      ++linhasVistas;
      comEnviar += a.QTDREGENVIAR > 0;
      comFila += a.QTDREGFILA > 0;
    }
  }
  // The draws must exercise both counts, not compare zeros with zeros.
  EXPECT_GT(linhasVistas, 80);
  EXPECT_GT(comEnviar, linhasVistas / 2);
  EXPECT_GT(comFila, 10);
}

TEST(ContagemRapida, NumerosExatosInstrucoesEPreparos) {
  BancoTeste banco;
  TabelasSoltas(banco);
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01 ', 'CX1');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX2');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (1, 'I', 'PRODUTO', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (1, 'A', 'PRODUTO', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (2, 'I', 'TRANSF_ESTOQUE', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (3, 'E', 'TRANSF_ESTOQUE_ITENS', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (4, 'I', 'TRANSFESTOQUE', 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (5, 'I', 'PRODUTO', NULL);
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (6, NULL, NULL, 'S');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (NULL, 'I', 'PRODUTO', 'S');
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX1', 1);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX1', 1);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01 ', 'CX1', 4);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES (' 01', 'CX2', 1);
INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX2', NULL);
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX2', 9, 'N');
INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX2', 9, NULL);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'CX1', 3);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'CX1', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (NULL, '01', 'CX1', 0);
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (2, '01', 'CX1', NULL);
)"));
  ConexaoBanco conexao;
  banco.Configurar(conexao);
  TabelaStatus tabela;
  AtualizacaoPainel atualizacao(conexao, tabela);
  atualizacao.SetContagemRapida(true);
  ASSERT_TRUE(atualizacao.Atualizar());
  ASSERT_EQ(tabela.QtdLinhas(), 2);
  // Counted for every machine: both rows of change 1, the deletion 3, the
  // TRANSFESTOQUE change 4 and the change without ORDEM: 5. CX1 integrated
  // change 1 (twice, counted once, both log rows go) and change 4.
  EXPECT_EQ(tabela.Linha(0).QTDREGENVIAR, 2);
  EXPECT_EQ(tabela.Linha(0).QTDREGFILA, 2) << "one ID counted twice, no NULL ID, no NULL status";
  // CX2: the ' 01' row is another branch code; nothing integrated; one of
  // the two delivery rows is undelivered, the NULL one counts for neither.
  EXPECT_EQ(tabela.Linha(1).QTDREGENVIAR, 6);
  EXPECT_EQ(tabela.Linha(1).QTDREGFILA, 0);
  TabelaStatus porLinha;
  AtualizacaoPainel(conexao, porLinha).Atualizar();
  EXPECT_TRUE(Iguais(porLinha.Linha(0), tabela.Linha(0)) && Iguais(porLinha.Linha(1), tabela.Linha(1)));

  // 3 statements prepared on the first refresh; all of them stay prepared,
  // so a second one prepares none.
  const quint64 preparos = conexao.Preparos();
  const quint64 execucoes = conexao.Execucoes();
  ASSERT_TRUE(atualizacao.Atualizar());
  EXPECT_EQ(conexao.Preparos() - preparos, 0u);
  EXPECT_EQ(conexao.Execucoes() - execucoes, 3u);

  // A count that fails ends the snapshot with the refresh: the connection
  // writes again afterwards (a read-only transaction left open would refuse).
  conexao.Fechar();
  banco.Executar(QStringLiteral("DROP TABLE FILAINTEGOFFLINE"));
  EXPECT_THROW(atualizacao.Atualizar(), Falha);
  EXPECT_FALSE(conexao.EmLeituraInstantanea());
  ConsultaSql escrita(&conexao);
  escrita.SetSql(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('09', 'Nova')"));
  EXPECT_EQ(escrita.Executar(), 1);

  // Without machines nothing is counted, not even the change log.
  banco.Executar(QStringLiteral("DELETE FROM IGFMAQUINA"));
  const quint64 vazio = conexao.Execucoes();
  EXPECT_FALSE(atualizacao.Atualizar());
  EXPECT_EQ(conexao.Execucoes() - vazio, 1u);
}

TEST(ContagemRapida, OpcaoDaLinhaDeComandoEDaJanela) {
  auto linha = [](QStringList args) { return LinhaComando(QStringList{"painel-integracao"} + args); };
  EXPECT_FALSE(linha({}).ContagemRapida());
  EXPECT_TRUE(linha({"--fast-counts"}).ContagemRapida());
  EXPECT_TRUE(linha({"--fast-counts"}).AbreJanela());
  EXPECT_EQ(linha({"--status", "--fast-counts", "--format=csv"}).ModoPedido(), LinhaComando::Modo::Status);
  EXPECT_TRUE(linha({"--check", "--fast-counts"}).ContagemRapida());
  EXPECT_EQ(linha({"--status", "--fast-count"}).ModoPedido(), LinhaComando::Modo::ErroUso);
  EXPECT_TRUE(LinhaComando::Ajuda().contains(QStringLiteral("--fast-counts")));

  // The window's refresh takes the choice made at start.
  ConexaoBanco conexao;
  TabelaStatus tabela;
  ParametrosPainel::DefinirContagemRapida(true);
  AtualizacaoPainel ligada(conexao, tabela);
  ParametrosPainel::DefinirContagemRapida(false);
  AtualizacaoPainel desligada(conexao, tabela);
  EXPECT_TRUE(ligada.ContagemRapida());
  EXPECT_FALSE(desligada.ContagemRapida());
}

TEST(ContagemRapida, ChaveDoCaminhoIniNaJanelaENaLinhaDeComando) {
  DialogosGravados::Instancia().Limpar();
  BancoTeste banco;
  banco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro')"));
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX1')"));
  const QString ini = banco.Pasta() + QStringLiteral("/Caminho.ini");
  auto gravar = [&](const QByteArray& painel) {
    QFile arquivo(ini);
    EXPECT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    arquivo.write("[DATABASEESTOQUE]\r\nCAMINHO=" + banco.Caminho().toUtf8() + "\r\nUSUARIO=" +
                  CodificarCredencial("SYSDBA").toUtf8() + "\r\nSENHA=" + CodificarCredencial("masterkey").toUtf8() +
                  "\r\n" + painel);
    return ini;
  };
  // What the command line and the service modes decide from.
  EXPECT_TRUE(ConfiguracaoBanco::ContagemRapida(gravar("[PAINEL]\r\nCONTAGEM=RAPIDA\r\n"), false));
  EXPECT_TRUE(ConfiguracaoBanco::ContagemRapida(gravar("[painel]\r\n contagem = rapida \r\n"), false));
  EXPECT_FALSE(ConfiguracaoBanco::ContagemRapida(gravar("[PAINEL]\r\nCONTAGEM=RAPIDAS\r\n"), false));
  EXPECT_FALSE(ConfiguracaoBanco::ContagemRapida(gravar("[PAINEL]\r\nCONTAGEM=\r\n"), false));
  EXPECT_FALSE(ConfiguracaoBanco::ContagemRapida(gravar("[OUTRA]\r\nCONTAGEM=RAPIDA\r\n"), false));
  EXPECT_FALSE(ConfiguracaoBanco::ContagemRapida(gravar(""), false));
  EXPECT_FALSE(ConfiguracaoBanco::ContagemRapida(banco.Pasta() + QStringLiteral("/nao-existe.ini"), false));
  EXPECT_TRUE(ConfiguracaoBanco::ContagemRapida(gravar("[PAINEL]\r\nCONTAGEM=LENTA\r\n"), true)) << "--fast-counts wins";

  // The window: which statements its refresh sends.
  auto rapida = [&](const QByteArray& painel, bool linha) {
    gravar(painel);
    ParametrosPainel::DefinirContagemRapida(linha);
    TFPainel janela(ini);
    ParametrosPainel::DefinirContagemRapida(false);
    QStringList instrucoes;
    janela.cnVelmora().SetObservador([&](const QString& sql) { instrucoes << sql; });
    janela.AtualizarPainel();
    EXPECT_EQ(janela.Filiais()->QtdLinhas(), 1);
    const bool porConjunto = instrucoes.contains(Catalogo::ContagemRapidaMaquinas());
    EXPECT_NE(porConjunto, instrucoes.contains(Catalogo::RegistrosEnviar()));
    return porConjunto;
  };
  EXPECT_TRUE(rapida("[PAINEL]\r\nCONTAGEM=RAPIDA\r\n", false));
  EXPECT_FALSE(rapida("[PAINEL]\r\nCONTAGEM=LENTA\r\n", false));
  EXPECT_FALSE(rapida("", false));
  EXPECT_TRUE(rapida("[PAINEL]\r\nCONTAGEM=LENTA\r\n", true));
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty()) << DialogosGravados::Instancia().Textos().join(u'\n').toStdString();
}

TEST(ContagemRapida, StatusECheckIguaisNasDuasManeiras) {
  BancoTeste banco;
  TabelasSoltas(banco);
  Gerar(banco, 7);
  QTemporaryDir execucao;
  const QString ini = banco.Pasta() + QStringLiteral("/Caminho.ini");
  {
    QFile arquivo(ini);
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    arquivo.write("[DATABASEESTOQUE]\r\nCAMINHO=" + banco.Caminho().toUtf8() + "\r\nUSUARIO=" +
                  CodificarCredencial("SYSDBA").toUtf8() + "\r\nSENHA=" + CodificarCredencial("masterkey").toUtf8() +
                  "\r\n");
  }
  banco.Soltar();
  const QString programa = QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao");
  ASSERT_TRUE(QFileInfo::exists(programa)) << "build painel-integracao first";
  auto rodar = [&](QStringList argumentos) {
    QProcess processo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), execucao.path());
    processo.setProcessEnvironment(ambiente);
    processo.start(programa, argumentos << QStringLiteral("--ini=") + ini);
    EXPECT_TRUE(processo.waitForFinished(60000));
    return std::make_pair(processo.exitCode(), processo.readAllStandardOutput());
  };
  const auto csv = rodar({"--status", "--format=csv"});
  const auto csvRapido = rodar({"--status", "--format=csv", "--fast-counts"});
  EXPECT_EQ(csv.first, 0);
  EXPECT_GT(csv.second.count('\n'), 3);
  EXPECT_EQ(csvRapido, csv);
  const auto check = rodar({"--check"});
  EXPECT_EQ(rodar({"--check", "--fast-counts"}), check);
}

}  // namespace
