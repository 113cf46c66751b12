#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "model/Catalogo.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

namespace {

const QString kConstrutor = QStringLiteral(PAINEL_TOOLS_DIR "/construir-demo");

// Runs the builder as scripts/demo does. The exit code, with its output
// attached to any failure.
int Construir(const QString& banco, const QString& log, QString* saida = nullptr) {
  if (!QFileInfo::exists(kConstrutor)) {
    ADD_FAILURE() << "construir-demo não foi compilado: " << kConstrutor.toStdString();
    return -1;
  }
  QProcess processo;
  processo.setProcessChannelMode(QProcess::MergedChannels);
  processo.start(kConstrutor, {QStringLiteral("--esquema=" PAINEL_SCHEMA_FILE), QStringLiteral("--banco=") + banco,
                               QStringLiteral("--log=") + log});
  if (!processo.waitForFinished(300000)) {
    ADD_FAILURE() << "construir-demo não terminou";
    return -1;
  }
  const QString texto = QString::fromUtf8(processo.readAll());
  if (saida) *saida = texto;
  if (processo.exitCode() != 0) ADD_FAILURE() << texto.toStdString();
  return processo.exitCode();
}

void Abrir(ConexaoBanco& conexao, const QString& banco) {
  conexao.SetParam(QStringLiteral("Database"), banco);
  conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
  conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
}

// Every row as one text, NULL told apart from empty.
QStringList Linhas(ConexaoBanco& conexao, const QString& sql, const QStringList& nomes = {},
                   const QStringList& valores = {}) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(sql);
  for (int i = 0; i < nomes.size(); ++i) consulta.SetParam(nomes[i], valores[i]);
  consulta.Abrir();
  QStringList linhas;
  for (int l = 0; l < consulta.QtdLinhas(); ++l) {
    QStringList campos;
    for (const ValorCampo& v : consulta.Linha(l)) campos << (v.EhNulo() ? QStringLiteral("<nulo>") : v.AsString());
    linhas << campos.join(u'|');
  }
  return linhas;
}

QString Valor(ConexaoBanco& conexao, const QString& sql) { return Linhas(conexao, sql).value(0); }
int Inteiro(ConexaoBanco& conexao, const QString& sql) { return Valor(conexao, sql).toInt(); }
QSet<QString> Conjunto(const QStringList& lista) { return QSet<QString>(lista.begin(), lista.end()); }

class ConstrucaoDemoTeste : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FPasta = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/painel-demo-XXXXXX"));
    FConstruido = Construir(Banco(), Log()) == 0;
  }
  static void TearDownTestSuite() { FPasta.reset(); }
  void SetUp() override {
    ASSERT_TRUE(FConstruido);
    Abrir(conexao, Banco());
  }

  static QString Banco() { return FPasta->filePath(QStringLiteral("demo/velmora-demo.fdb")); }
  static QString Log() { return FPasta->filePath(QStringLiteral("demo/integracao.txt")); }

  static inline std::unique_ptr<QTemporaryDir> FPasta;
  static inline bool FConstruido = false;
  ConexaoBanco conexao;
};

TEST_F(ConstrucaoDemoTeste, TabelasFiliaisEMaquinas) {
  EXPECT_EQ(Inteiro(conexao, "SELECT COUNT(*) FROM FILIAIS"), 5);
  EXPECT_EQ(Inteiro(conexao, "SELECT COUNT(*) FROM IGFMAQUINA"), 12);
  const int alteracoes = Inteiro(conexao, "SELECT COUNT(*) FROM MVINTEGGERAL");
  EXPECT_GE(alteracoes, 2000);
  EXPECT_LE(alteracoes, 5000);
  EXPECT_EQ(Inteiro(conexao, "SELECT COUNT(DISTINCT ORDEM) FROM MVINTEGGERAL"), alteracoes);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM REGISTROSINTEGRADOS"), 10000);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM FILAINTEGOFFLINE"), 100);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM INTEGERRO"), 10);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM INTEGMAQUINA WHERE ATUALIZOU = 'S'"), 100);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM INTEGMAQUINA WHERE ATUALIZOU = 'N'"), 5);
  EXPECT_EQ(Linhas(conexao, Catalogo::IntervaloPainel()), QStringList{"15"});
  EXPECT_EQ(Valor(conexao, Catalogo::UsaWebService()), QStringLiteral("S"));

  // Branch 03 is stored with a trailing blank; 07 is missing from FILIAIS
  // and 05 has no machine.
  EXPECT_EQ(Conjunto(Linhas(conexao, "SELECT DISTINCT MAQUINA FROM IGFMAQUINA")),
            QSet<QString>({"01", "02", "03 ", "04", "07"}));
  EXPECT_EQ(Linhas(conexao, "SELECT MAQUINA || '/' || MAQUINAECF FROM IGFMAQUINA WHERE NOT EXISTS "
                            "(SELECT 1 FROM FILIAIS WHERE FILIAIS.CODEMPRESA = IGFMAQUINA.MAQUINA)"),
            QStringList{"07/CX01"});
  EXPECT_EQ(Linhas(conexao, "SELECT CODEMPRESA FROM FILIAIS WHERE NOT EXISTS "
                            "(SELECT 1 FROM IGFMAQUINA WHERE IGFMAQUINA.MAQUINA = FILIAIS.CODEMPRESA)"),
            QStringList{"05"});
}

// The rows the panel builds from the demo show each state once at least.
TEST_F(ConstrucaoDemoTeste, EstadosDaGradeDoPainel) {
  TabelaStatus tabela;
  AtualizacaoPainel atualizacao(conexao, tabela);
  ASSERT_TRUE(atualizacao.Atualizar());
  ASSERT_EQ(tabela.QtdLinhas(), 11);

  QSet<QString> erro;
  int semRecebimento = 0, meiaNoite = 0, nomeCortado = 0, comFila = 0, semFila = 0, aEnviar = 0, emDia = 0;
  for (const LinhaStatus& l : tabela.Linhas()) {
    erro << l.STATUSERRO;
    if (!l.ULTRECEB.isValid()) ++semRecebimento;
    if (l.ULTENVIO.isValid() && l.ULTENVIO.time() == QTime(0, 0)) ++meiaNoite;
    if (l.NOME.size() == 35) ++nomeCortado;
    (l.QTDREGFILA > 0 ? comFila : semFila)++;
    if (l.QTDREGENVIAR > 0) ++aEnviar;
    if (l.QTDREGENVIAR == 0 && l.QTDREGRECEB == 0) ++emDia;
    if (l.CODEMPRESA == QLatin1String("03") && l.MAQUINAECF == QLatin1String("CX01")) {
      // Found through the trimmed branch code.
      EXPECT_GT(l.QTDREGFILA, 0);
      EXPECT_GT(l.QTDREGENVIAR, 0);
    }
  }
  EXPECT_EQ(erro, QSet<QString>({"Sim", "Não"}));
  EXPECT_EQ(semRecebimento, 1);
  EXPECT_EQ(meiaNoite, 1);
  EXPECT_EQ(nomeCortado, 2);
  EXPECT_GT(comFila, 3);
  EXPECT_GT(semFila, 1);
  EXPECT_GT(aEnviar, 5);
  EXPECT_GE(emDia, 2);
}

TEST_F(ConstrucaoDemoTeste, FilaErrosEListasDosDetalhes) {
  // Every status and action, with codes the panel has no label for.
  const QSet<QString> status = Conjunto(Linhas(conexao, "SELECT DISTINCT STATUS FROM FILAINTEGOFFLINE"));
  EXPECT_TRUE(status.contains(QSet<QString>({"0", "1", "2", "3"})));
  EXPECT_GE(status.size(), 5);
  const QSet<QString> acoes = Conjunto(Linhas(conexao, "SELECT DISTINCT ACAO FROM FILAINTEGOFFLINE"));
  EXPECT_TRUE(acoes.contains(QSet<QString>({"A", "I", "E", "P"})));
  EXPECT_GE(acoes.size(), 5);
  for (const QString& script : Linhas(conexao, "SELECT SCRIPT FROM FILAINTEGOFFLINE")) {
    const int linhas = int(script.count(QStringLiteral("\r\n"))) + 1;
    EXPECT_LE(linhas, 6) << script.toStdString();
  }
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM FILAINTEGOFFLINE WHERE SCRIPT CONTAINING ASCII_CHAR(10)"), 50);

  // Open and acknowledged errors, short and of several kilobytes, one flag
  // never set and one empty text.
  int abertosCurtos = 0, abertosLongos = 0, conferidosLongos = 0, semFlag = 0, semTexto = 0;
  for (const QString& linha : Linhas(conexao, "SELECT CONFERIDO, MSGERRO FROM INTEGERRO")) {
    const QString conferido = linha.section(u'|', 0, 0);
    const QString texto = linha.section(u'|', 1);
    if (conferido == QLatin1String("N") && texto.size() < 250) ++abertosCurtos;
    if (conferido == QLatin1String("N") && texto.size() > 3000) ++abertosLongos;
    if (conferido == QLatin1String("S") && texto.size() > 3000) ++conferidosLongos;
    if (conferido == QLatin1String("<nulo>")) ++semFlag;
    if (texto == QLatin1String("<nulo>")) ++semTexto;
  }
  EXPECT_GE(abertosCurtos, 2);
  EXPECT_GE(abertosLongos, 2);
  EXPECT_GE(conferidosLongos, 2);
  EXPECT_EQ(semFlag, 1);
  EXPECT_EQ(semTexto, 1);

  // The three lists of the records viewer: a lagging machine fills all of
  // them; one that is up to date has nothing left to receive.
  const QStringList nomes = {"PMaquina", "PMaqECF"};
  EXPECT_EQ(Linhas(conexao, Catalogo::ProximosRegistros(), nomes, {"02", "CX02"}).size(), 15);
  EXPECT_EQ(Linhas(conexao, Catalogo::ProximosRegistros(), nomes, {"01", "CX01"}).size(), 0);
  EXPECT_EQ(Linhas(conexao, Catalogo::RegistrosEnviados(), nomes, {"02", "CX02"}).size(), 15);
  EXPECT_EQ(Linhas(conexao, Catalogo::RegistrosRecebidos(), {"pCodEmpresa", "pMaqECF"}, {"02", "CX02"}).size(), 15);
}

// Each table of the change log exists with a primary key of the width its
// changes fill, so the records viewer can build the key text.
TEST_F(ConstrucaoDemoTeste, ChavesDasTabelasDoLog) {
  QMap<QString, QStringList> chaves;
  for (const QString& tabela : Linhas(conexao, "SELECT DISTINCT TABELA FROM MVINTEGGERAL")) {
    EXPECT_EQ(Inteiro(conexao, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = '%1'")
                                   .arg(tabela)),
              1)
        << tabela.toStdString();
    QStringList colunas = Linhas(conexao, Catalogo::ChavePrimaria(), {"TABELA"}, {tabela});
    for (QString& c : colunas) c = c.trimmed();
    chaves[tabela] = colunas;
    // CHAVE0 up to the key's width are filled, the rest empty.
    QStringList condicoes;
    for (int i = 0; i < 10; ++i)
      condicoes << QStringLiteral("CHAVE%1 IS %2NULL").arg(i).arg(i < colunas.size() ? QString() : QStringLiteral("NOT "));
    EXPECT_EQ(Inteiro(conexao, QStringLiteral("SELECT COUNT(*) FROM MVINTEGGERAL WHERE TABELA = '%1' AND (%2)")
                                   .arg(tabela, condicoes.join(QStringLiteral(" OR ")))),
              0)
        << tabela.toStdString();
  }
  QSet<int> larguras;
  for (const QStringList& c : chaves) larguras << int(c.size());
  EXPECT_TRUE(larguras.contains(QSet<int>({0, 1, 2, 3})));
  EXPECT_EQ(chaves.value("TRANSFESTOQUE").value(3), QStringLiteral("CODEMPRESADESTINO"));
  EXPECT_EQ(chaves.value("MVGERAL").value(0), QStringLiteral("CODEMPRESA"));
  EXPECT_TRUE(chaves.contains("TRANSF_ESTOQUE"));
  EXPECT_TRUE(chaves.contains("TRANSF_ESTOQUE_ITENS"));

  // Branch-bound changes for several branches; deletions of the
  // underscored transfer tables, which count as records to send.
  EXPECT_GE(Inteiro(conexao, "SELECT COUNT(DISTINCT CHAVE3) FROM MVINTEGGERAL WHERE TABELA = 'TRANSFESTOQUE'"), 4);
  EXPECT_GE(Inteiro(conexao, "SELECT COUNT(DISTINCT CHAVE0) FROM MVINTEGGERAL WHERE TABELA = 'MVGERAL'"), 4);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM MVINTEGGERAL WHERE TABELA STARTING WITH 'TRANSF_ESTOQUE' AND "
                             "ACAO = 'E'"),
            0);
  EXPECT_GT(Inteiro(conexao, "SELECT COUNT(*) FROM MVINTEGGERAL WHERE INCINTEGMAQUINA = 'N'"), 0);
}

TEST_F(ConstrucaoDemoTeste, LogDeIntegracao) {
  QFile arquivo(Log());
  ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
  const QByteArray bytes = arquivo.readAll();
  const QList<QByteArray> linhas = bytes.split('\n');
  EXPECT_GT(linhas.size(), 200);
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
  // Windows-1252: "ção" is three bytes, not UTF-8's five.
  EXPECT_TRUE(bytes.contains("Sincroniza\xe7\xe3o conclu\xed"));
  EXPECT_FALSE(bytes.contains("\xc3\xa7"));
  EXPECT_TRUE(bytes.startsWith("07/12/2026 04:25:00  "));
}

// Same content on every run; an existing database is left alone.
TEST_F(ConstrucaoDemoTeste, MesmoConteudoACadaExecucao) {
  QTemporaryDir outra(QDir::tempPath() + QStringLiteral("/painel-demo-XXXXXX"));
  const QString banco = outra.filePath(QStringLiteral("velmora-demo.fdb"));
  const QString log = outra.filePath(QStringLiteral("integracao.txt"));
  ASSERT_EQ(Construir(banco, log), 0);

  ConexaoBanco segunda;
  Abrir(segunda, banco);
  const QStringList consultas = {
      "SELECT * FROM FILIAIS ORDER BY 1",
      "SELECT * FROM IGFMAQUINA ORDER BY 1, 2",
      "SELECT * FROM MVINTEGGERAL ORDER BY ORDEM",
      "SELECT * FROM INTEGMAQUINA ORDER BY 1, 2, 3",
      "SELECT MAQUINA, MAQUINAECF, COUNT(*), SUM(ORDEM) FROM REGISTROSINTEGRADOS GROUP BY 1, 2",
      "SELECT * FROM FILAINTEGOFFLINE ORDER BY ID",
      "SELECT * FROM INTEGERRO ORDER BY 1, 2, 3",
      "SELECT * FROM CLIENTES ORDER BY 1",
      "SELECT * FROM MVGERAL ORDER BY 1, 2, 3",
  };
  for (const QString& sql : consultas) {
    const QStringList a = Linhas(conexao, sql);
    EXPECT_FALSE(a.isEmpty()) << sql.toStdString();
    EXPECT_EQ(a, Linhas(segunda, sql)) << sql.toStdString();
  }
  QFile logA(Log()), logB(log);
  ASSERT_TRUE(logA.open(QIODevice::ReadOnly));
  ASSERT_TRUE(logB.open(QIODevice::ReadOnly));
  EXPECT_EQ(logA.readAll(), logB.readAll());
  segunda.Fechar();

  const qint64 tamanho = QFileInfo(banco).size();
  QString saida;
  QProcess processo;
  processo.setProcessChannelMode(QProcess::MergedChannels);
  processo.start(kConstrutor, {QStringLiteral("--esquema=" PAINEL_SCHEMA_FILE), QStringLiteral("--banco=") + banco});
  ASSERT_TRUE(processo.waitForFinished(60000));
  EXPECT_EQ(processo.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(processo.readAll()),
            QStringLiteral("O banco %1 já existe; apague-o para construir outro.\n").arg(banco));
  EXPECT_EQ(QFileInfo(banco).size(), tamanho);
  EXPECT_EQ(QDir(outra.path()).entryList(QDir::Files), QStringList({"integracao.txt", "velmora-demo.fdb"}));
}

}  // namespace
