#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <chrono>
#include <thread>

#include "DialogosGravados.h"
#include "TransporteCarregado.h"
#include "platform/VersaoSistema.h"
#include "platform/Falha.h"
#include "platform/OleString.h"
#include "platform/Windows1252.h"
#include "usage/ParametrosAnalytics.h"
#include "usage/TFuncoes.h"
#include "usage/TRESTBO.h"
#include "usage/TSessao.h"
#include "usage/TThreadDataAnalyticsRest.h"

namespace {

// Leaves the session and the report settings as the program has them: no
// logged branch, no base URL, no auxiliary text.
class RelatoUso : public ::testing::Test {
 protected:
  void SetUp() override {
    DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));
    FExistentes = TThreadTrabalho::Existentes();
  }
  void TearDown() override {
    // Report threads of this test end before the next one changes anything.
    AguardarThreads();
    TSessao::getInstancia().SetFilialLogada(nullptr);
    DefinirURLBaseAnalytics(QString());
    DefinirTextoAuxiliarAnalytics(QString());
  }

  void LogarFilial(const QString& nome, const QString& cnpj) {
    FFilial = TFilial{nome, cnpj};
    TSessao::getInstancia().SetFilialLogada(&FFilial);
  }

  // Every report thread started here has run and freed itself. Bounded only
  // so that a thread that never ends fails the test instead of hanging it.
  bool AguardarThreads() const {
    for (int i = 0; i < 6000 && TThreadTrabalho::Existentes() > FExistentes; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return TThreadTrabalho::Existentes() == FExistentes;
  }

  static QString FalhaDe(const std::function<void()>& acao) {
    try {
      acao();
    } catch (const Falha& falha) {
      return falha.Mensagem();
    }
    return QStringLiteral("<sem falha>");
  }

  TFilial FFilial;
  int FExistentes = 0;
};

QByteArray Linha(const QByteArray& conteudo, int espacos) { return conteudo + QByteArray(espacos, ' ') + "\r\n"; }

}  // namespace

TEST(FormatarCpfCnpj, MascarasDeCpfEDeCnpjPeloTamanho) {
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QString()), QStringLiteral("   .   .   -  "));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("abcdefghij")), QStringLiteral("abc.def.ghi-j "));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("abcdefghijk")), QStringLiteral("abc.def.ghi-jk"));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("abcdefghijkl")), QStringLiteral("ab.cde.fgh/ijkl-  "));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("abcdefghijklmn")), QStringLiteral("ab.cde.fgh/ijkl-mn"));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("abcdefghijklmno")), QStringLiteral("ab.cde.fgh/ijkl-mno"));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("12345678000199")), QStringLiteral("12.345.678/0001-99"));
  EXPECT_EQ(TFuncoes::FormatarCpfCnpj(QStringLiteral("12345678909")), QStringLiteral("123.456.789-09"));
}

TEST_F(RelatoUso, SemFilialLogadaRetornaLogoSemMostrarNemCarregarNada) {
  TRESTBO::SetCaminhoBiblioteca(QStringLiteral(PAINEL_TRANSPORTE_TESTE));
  const long vivas = OleString::Vivas();
  for (int abertura = 0; abertura < 3; ++abertura) {
    TThreadDataAnalyticsRest::EnviarRotina(QStringLiteral("Visualizar Erros"));
    // The report was released on the spot: no thread was ever started.
    EXPECT_EQ(TThreadTrabalho::Existentes(), FExistentes);
  }
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty());
  EXPECT_FALSE(TRESTBO::Carregado());
  EXPECT_EQ(OleString::Vivas(), vivas);

  TSessao& sessao = TSessao::getInstancia();
  EXPECT_EQ(FalhaDe([&] { sessao.getFilialLogada(); }), "Filial Logada não definida.");
  // The session kept the computer's name on the way.
  const QString nome = TFuncoes::getNomeComputador();
  EXPECT_FALSE(nome.isEmpty());
  EXPECT_LE(nome.size(), 15);
  EXPECT_EQ(sessao.getNomeUsuario(), nome);
}

TEST_F(RelatoUso, SemUrlBaseOThreadTerminaCaladoAntesDeCarregarABiblioteca) {
  TRESTBO::SetCaminhoBiblioteca(QStringLiteral(PAINEL_TRANSPORTE_TESTE));
  LogarFilial(QStringLiteral("Loja"), QStringLiteral("12345678000199"));
  {
    TThreadDataAnalyticsRest relato(taRotina);
    relato.MontarCorpo(QStringLiteral("Painel"));
    EXPECT_EQ(FalhaDe([&] { relato.EnviarRequisicao(); }), "URL base da requisição não foi informada.");
  }

  TThreadDataAnalyticsRest::EnviarRotina(QStringLiteral("Painel"));
  ASSERT_TRUE(AguardarThreads());
  EXPECT_FALSE(TRESTBO::Carregado());
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty());
}

TEST_F(RelatoUso, RelatoCompletoChegaABibliotecaByteAByte) {
  const TransporteCarregado transporte = TransporteCarregado::Usar();
  LogarFilial(QStringLiteral("Loja São José"), QStringLiteral("12345678000199"));
  DefinirURLBaseAnalytics(QStringLiteral(" https://analytics.local "));
  DefinirTextoAuxiliarAnalytics(QStringLiteral("chave"));

  TThreadDataAnalyticsRest::EnviarRotina(QStringLiteral("Visualizar Log – ç"));
  ASSERT_EQ(transporte.Aguardar(1), 1);
  EXPECT_TRUE(AguardarThreads());

  const QByteArray usuario = Windows1252::deUnicode(TSessao::getInstancia().getNomeUsuario());
  const QByteArray unit = TThreadDataAnalyticsRest::Unit();
  EXPECT_TRUE(unit.startsWith("Sem Unit - ")) << unit.constData();
  const QByteArray esperado = Linha("{", 71) +
                              Linha(" \"nomeUsuario\": \"" + usuario + "\",", 19) +
                              Linha(" \"unit\": \"" + unit + "\",", 41) +
                              Linha(" \"rotina\": \"Visualizar Log \x96 \xe7\",", 43) +
                              Linha(" \"cnpj\": \"12.345.678/0001-99\",", 5) +
                              Linha(" \"nomeCnpj\": \"Loja S\xe3o Jos\xe9\",", 18) +
                              Linha(" \"versao\": \"v.29.07ad0\"", 36) + "}";
  const RegistroTransporte& registro = transporte.Registro();
  const QString corpo = QString::fromStdU16String(registro.Textos[5]);
  EXPECT_EQ(Windows1252::deUnicode(corpo), esperado);
  EXPECT_EQ(corpo, Windows1252::paraUnicode(esperado));
  EXPECT_EQ(registro.Argumento[0], 2);
  EXPECT_EQ(registro.Argumento[1], 2);
  EXPECT_EQ(registro.Textos[0], u"https://analytics.local");
  EXPECT_EQ(registro.Textos[1], u"/rotina");
  EXPECT_EQ(registro.Textos[3], u"chave");
  EXPECT_EQ(registro.Textos[4], u"curl");
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty());
}

TEST_F(RelatoUso, TresAberturasFazemTresRelatos) {
  const TransporteCarregado transporte = TransporteCarregado::Usar();
  LogarFilial(QStringLiteral("Loja"), QStringLiteral("12345678909"));
  DefinirURLBaseAnalytics(QStringLiteral("http://analytics.local"));
  for (int abertura = 0; abertura < 3; ++abertura)
    TThreadDataAnalyticsRest::EnviarRotina(QStringLiteral("Registros Sincronizados"));
  EXPECT_EQ(transporte.Aguardar(3), 3);
  EXPECT_TRUE(AguardarThreads());
  EXPECT_EQ(transporte.Registro().Chamadas, 3);
}

TEST_F(RelatoUso, AspasEControlesNoCorpoContinuamJsonValido) {
  const QString nome = QStringLiteral("Loja \"Central\" \\ Filial\t1\x01 ção");
  const QString rotina = QStringLiteral("Erro\r\nLinha \"2\"");
  LogarFilial(nome, QStringLiteral("123"));
  TThreadDataAnalyticsRest relato(taRotina);
  relato.MontarCorpo(rotina);
  const QByteArray corpo = relato.Corpo();

  EXPECT_TRUE(corpo.contains(" \"nomeCnpj\": \"Loja \\\"Central\\\" \\\\ Filial\\t1\\u0001 \xe7\xe3o\","));
  EXPECT_TRUE(corpo.contains(" \"rotina\": \"Erro\\r\\nLinha \\\"2\\\"\","));
  EXPECT_EQ(corpo.count("\r\n"), 7);
  EXPECT_TRUE(corpo.endsWith("\r\n}"));

  QJsonParseError erro;
  const QJsonDocument documento =
      QJsonDocument::fromJson(Windows1252::paraUnicode(corpo).toUtf8(), &erro);
  ASSERT_EQ(erro.error, QJsonParseError::NoError) << erro.errorString().toStdString();
  const QJsonObject objeto = documento.object();
  EXPECT_EQ(objeto.keys(), (QStringList{"cnpj", "nomeCnpj", "nomeUsuario", "rotina", "unit", "versao"}));
  EXPECT_EQ(objeto["nomeCnpj"].toString(), nome);
  EXPECT_EQ(objeto["rotina"].toString(), rotina);
  EXPECT_EQ(objeto["cnpj"].toString(), QStringLiteral("123.   .   -  "));
  EXPECT_EQ(objeto["versao"].toString(), QStringLiteral("v.29.07ad0"));
  EXPECT_EQ(objeto["nomeUsuario"].toString(), TSessao::getInstancia().getNomeUsuario());
}

TEST_F(RelatoUso, TipoDesconhecidoNaoTemRotaEEhRecusado) {
  const TransporteCarregado transporte = TransporteCarregado::Usar();
  EXPECT_EQ(TThreadDataAnalyticsRest::ObterRota(taRotina), QStringLiteral("/rotina"));
  EXPECT_EQ(TThreadDataAnalyticsRest::ObterRota(static_cast<TTipoAnalytics>(1)), QString());

  LogarFilial(QStringLiteral("Loja"), QStringLiteral("12345678000199"));
  DefinirURLBaseAnalytics(QStringLiteral("http://analytics.local"));
  TThreadDataAnalyticsRest relato(static_cast<TTipoAnalytics>(1));
  relato.MontarCorpo(QStringLiteral("Painel"));
  EXPECT_EQ(FalhaDe([&] { relato.EnviarRequisicao(); }), "Rota da requisição não foi informado.");
  EXPECT_EQ(transporte.Registro().Chamadas, 0);
}

TEST(RelatoNaSaida, ProcessoTerminaComUmRelatoAindaEmCurso) {
  // The library by its bare name: found beside the program that loads it.
  const QString biblioteca = QFileInfo(QStringLiteral(PAINEL_TRANSPORTE_TESTE)).fileName();
  ASSERT_EQ(QFileInfo(QStringLiteral(PAINEL_RELATO_NA_SAIDA)).dir().filePath(biblioteca),
            QStringLiteral(PAINEL_TRANSPORTE_TESTE));
  // The report still in flight holds its strings when the process ends, and
  // the only pointers to them lie in the packed record on its thread's stack,
  // off the word alignment a leak checker scans by default: under the
  // sanitizers it is told to scan every byte, so they count as reachable and
  // a string really lost is still reported.
  QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
  const QString opcoes = ambiente.value(QStringLiteral("LSAN_OPTIONS"));
  ambiente.insert(QStringLiteral("LSAN_OPTIONS"),
                  (opcoes.isEmpty() ? QString() : opcoes + u':') + QStringLiteral("use_unaligned=1"));
  QProcess processo;
  processo.setProcessEnvironment(ambiente);
  processo.start(QStringLiteral(PAINEL_RELATO_NA_SAIDA), {biblioteca});
  ASSERT_TRUE(processo.waitForFinished(120000)) << "the process did not end";
  EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
}

// The real program, not a test program, lends its OLE string allocator to a
// transport library loaded at run time; a program without the export cannot
// load that library at all.
TEST(TransporteNoPrograma, ProgramaExportaOAlocadorABibliotecaCarregada) {
  const auto rodar = [](const char* programa, const QStringList& argumentos) {
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PAINEL_TRANSPORTE_CARGA));
    ambiente.insert(QStringLiteral("PAINEL_TRANSPORTE_CARGA"), QStringLiteral(PAINEL_TRANSPORTE_TESTE));
    QProcess processo;
    processo.setProcessEnvironment(ambiente);
    processo.start(QString::fromLocal8Bit(programa), argumentos);
    EXPECT_TRUE(processo.waitForFinished(60000));
    return std::make_pair(processo.readAllStandardOutput(), processo.readAllStandardError());
  };
  const auto [saida, erro] = rodar(PAINEL_EXECUTAVEL, {QStringLiteral("--version")});
  EXPECT_EQ(erro, "carga: 1 chamada(s), rota de 14 bytes, conteúdo de 22 bytes\n");
  EXPECT_EQ(saida, "painel-integracao v.29.07ad0\n");

  const auto [outraSaida, outroErro] = rodar(PAINEL_SEM_EXPORTACAO, {QStringLiteral("x")});
  EXPECT_TRUE(outroErro.startsWith("carga: ") && outroErro.contains("undefined symbol: SysAllocStringLen"))
      << outroErro.toStdString();
}
