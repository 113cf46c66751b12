#include <gtest/gtest.h>

#include <httplib.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <thread>

#include "../panel/SaidaStatusLeitura.h"
#include "BancoTeste.h"
#include "ClienteHttpTeste.h"
#include "ConfiguracaoTeste.h"
#include "Credencial.h"
#include "servico/ServicoMonitoramento.h"

namespace {

using namespace std::chrono_literals;

// Names that every format must escape: quotes, backslashes, a line break,
// markup, characters of the code page beyond ASCII.
const char kNomesRuins[] = R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('\"', '<script>"x\y</script> Ção €');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB, ULTRECEB) VALUES ('\"', 'C"\' || ASCII_CHAR(10), 7, '2024-03-04 10:11:12');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX01');
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 1, 'N');
)";

int Tarefas() { return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

// The real program: --status first, then --serve on the same database (the
// embedded engine lets one process at a time open the file).
class ServicoProcesso : public ::testing::Test {
 protected:
  void SetUp() override {
    FBanco.Executar(QString::fromUtf8(kNomesRuins));
    FIni = ConfiguracaoTeste::Escrever(FBanco.Pasta(), FBanco.Caminho(), BancoTeste::Usuario(), BancoTeste::Senha());
    FBanco.Soltar();
    FAmbiente = QProcessEnvironment::systemEnvironment();
    FAmbiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), FExecucao.path());
  }

  QByteArray Status(const QString& formato) {
    QProcess processo;
    processo.setProcessEnvironment(FAmbiente);
    processo.start(Programa(), {QStringLiteral("--status"), QStringLiteral("--format=") + formato,
                                QStringLiteral("--ini=") + FIni});
    EXPECT_TRUE(processo.waitForFinished(60000));
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
    return processo.readAllStandardOutput();
  }

  static QString Programa() { return QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao"); }

  BancoTeste FBanco;
  QTemporaryDir FExecucao;
  QString FIni;
  QProcessEnvironment FAmbiente;
};

TEST_F(ServicoProcesso, CadaEnderecoIgualAoStatusELogSemCredencialESaiComZeroNoSinal) {
  ASSERT_TRUE(QFileInfo::exists(Programa())) << "build painel-integracao first";
  const QByteArray json = Status(QStringLiteral("json"));
  const QByteArray prometheus = Status(QStringLiteral("prometheus"));
  ASSERT_TRUE(json.contains("<script>")) << json.toStdString();

  QProcess servico;
  servico.setProcessEnvironment(FAmbiente);
  servico.start(Programa(), {QStringLiteral("--serve=127.0.0.1:0"), QStringLiteral("--interval=1"),
                             QStringLiteral("--ini=") + FIni});
  QByteArray log;
  int porta = 0;
  const QRegularExpression servindo(QStringLiteral("servindo em http://127\\.0\\.0\\.1:(\\d+)/"));
  QDeadlineTimer prazo(30000);
  while (!log.contains("primeira leitura") && !prazo.hasExpired() && servico.state() != QProcess::NotRunning) {
    servico.waitForReadyRead(100);
    log += servico.readAllStandardError();
  }
  const auto achado = servindo.match(QString::fromUtf8(log));
  ASSERT_TRUE(achado.hasMatch()) << log.toStdString();
  porta = achado.captured(1).toInt();
  EXPECT_TRUE(log.contains("primeira leitura do banco: 2 linha(s)")) << log.toStdString();

  httplib::Client cliente("127.0.0.1", porta);
  cliente.set_read_timeout(10, 0);
  auto metricas = cliente.Get("/metrics");
  ASSERT_TRUE(metricas) << httplib::to_string(metricas.error());
  EXPECT_EQ(metricas->status, 200);
  EXPECT_EQ(metricas->get_header_value("Content-Type"), "text/plain; version=0.0.4; charset=utf-8");
  const QByteArray corpo = QByteArray::fromStdString(metricas->body);
  ASSERT_TRUE(corpo.startsWith(prometheus)) << corpo.toStdString();
  const auto proprias = SaidaStatusLeitura::LerPrometheus(corpo.mid(prometheus.size()));
  EXPECT_GE(proprias.value("painel_integracao_atualizacoes_total"), 1);
  EXPECT_EQ(proprias.value("painel_integracao_atualizacao_falhas_total"), 0);
  EXPECT_EQ(proprias.value("painel_integracao_banco_acessivel"), 1);
  EXPECT_TRUE(proprias.contains("painel_integracao_atualizacao_duracao_segundos"));
  EXPECT_GT(proprias.value("painel_integracao_ultima_atualizacao_timestamp_seconds"), 1700000000);
  EXPECT_TRUE(corpo.contains("maquina=\"C\\\"\\\\\\n\"")) << "label escaping of C\"\\<newline>";

  auto status = cliente.Get("/status.json");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->get_header_value("Content-Type"), "application/json");
  QByteArray linhas = json;
  linhas.chop(1);
  EXPECT_TRUE(QByteArray::fromStdString(status->body).endsWith("\"linhas\": " + linhas + "}\n")) << status->body;
  QJsonParseError erro;
  const QJsonObject objeto = QJsonDocument::fromJson(QByteArray::fromStdString(status->body), &erro).object();
  ASSERT_EQ(erro.error, QJsonParseError::NoError) << status->body;
  EXPECT_EQ(objeto["banco_acessivel"].toBool(), true);
  EXPECT_TRUE(objeto["ultimo_erro"].isNull());
  EXPECT_TRUE(objeto["lidas_em"].toString().endsWith(u'Z'));
  EXPECT_EQ(objeto["linhas"], QJsonDocument::fromJson(json).array());

  auto saude = cliente.Get("/healthz");
  ASSERT_TRUE(saude);
  EXPECT_EQ(saude->status, 200);
  EXPECT_EQ(saude->body, "ok\n");
  auto cabeca = cliente.Head("/metrics");
  ASSERT_TRUE(cabeca);
  EXPECT_EQ(cabeca->status, 200);
  EXPECT_EQ(cabeca->body, "");
  EXPECT_EQ(cabeca->get_header_value("Content-Length"), std::to_string(metricas->body.size()));
  auto ausente = cliente.Get("/metrics/");
  ASSERT_TRUE(ausente);
  EXPECT_EQ(ausente->status, 404);
  auto post = cliente.Post("/metrics", "x=1", "application/x-www-form-urlencoded");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");

  ::kill(static_cast<pid_t>(servico.processId()), SIGTERM);
  const QDeadlineTimer fim(10000);
  ASSERT_TRUE(servico.waitForFinished(10000));
  std::printf("[servico] SIGTERM atendido em %lld ms\n", 10000 - fim.remainingTime());
  EXPECT_EQ(servico.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(servico.exitCode(), 0);
  log += servico.readAllStandardError();
  EXPECT_TRUE(log.contains("encerrando (SIGTERM)")) << log.toStdString();
  EXPECT_FALSE(log.contains("masterkey") || log.contains(CodificarCredencial("masterkey").toUtf8()));
  EXPECT_TRUE(servico.readAllStandardOutput().isEmpty());
}

TEST(ServicoLinhaComando, EnderecoOcupadoFalhaComUm) {
  QTemporaryDir pasta;
  httplib::Server ocupante;
  const int porta = ocupante.bind_to_any_port("127.0.0.1");
  QProcess servico;
  servico.start(QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao"),
                {QStringLiteral("--serve=127.0.0.1:%1").arg(porta), QStringLiteral("--ini=/nao/existe.ini")});
  ASSERT_TRUE(servico.waitForFinished(30000));
  EXPECT_EQ(servico.exitCode(), 1);
  EXPECT_TRUE(servico.readAllStandardError().contains(
      QStringLiteral("Não foi possível escutar em 127.0.0.1:%1").arg(porta).toUtf8()));

  // On a free port the same missing file keeps the service up, and its log
  // names the file rather than a file without the database's name.
  QProcess semArquivo;
  semArquivo.start(QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao"),
                   {QStringLiteral("--serve=127.0.0.1:0"), QStringLiteral("--ini=/nao/existe.ini")});
  const QByteArray esperado = QStringLiteral("banco inacessível: Arquivo de configuração não encontrado: /nao/existe.ini").toUtf8();
  QByteArray log;
  QDeadlineTimer prazo(30000);
  while (!log.contains(esperado) && !prazo.hasExpired() && semArquivo.state() != QProcess::NotRunning) {
    semArquivo.waitForReadyRead(200);
    log += semArquivo.readAllStandardError();
  }
  EXPECT_TRUE(log.contains(esperado)) << log.toStdString();
  semArquivo.terminate();
  ASSERT_TRUE(semArquivo.waitForFinished(5000));
  EXPECT_EQ(semArquivo.exitCode(), 0);
}

// The service in the test's own process, with short bounds, against
// clients that misbehave.
class ServicoEmProcesso : public ::testing::Test {
 protected:
  void SetUp() override {
    FBanco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro')"));
    FBanco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX01')"));
    ServicoMonitoramento::Opcoes opcoes;
    opcoes.Atualizacao.ArquivoIni =
        ConfiguracaoTeste::Escrever(FBanco.Pasta(), FBanco.Caminho(), BancoTeste::Usuario(), BancoTeste::Senha());
    opcoes.Atualizacao.Periodo = 200ms;
    opcoes.Http.MaximoConexoes = 3;
    opcoes.Http.ConexoesEmEspera = 1;
    opcoes.Http.Pedido = 1000ms;
    opcoes.Http.EsperaEntrePedidos = 1000ms;
    FServico = std::make_unique<ServicoMonitoramento>(opcoes, [](const QString&) {});
  }

  BancoTeste FBanco;
  std::unique_ptr<ServicoMonitoramento> FServico;
};

TEST_F(ServicoEmProcesso, PedidosRuinsRecusadosEmTempoLimitadoSemDeixarThreads) {
  const int tarefasAntes = Tarefas();
  FServico->Iniciar();
  const int porta = FServico->Porta();
  auto resposta = [&](const std::string& pedido) {
    ClienteHttpTeste cliente(porta);
    cliente.Enviar(pedido);
    const std::string recebido = cliente.LerAteFechar(10s);
    EXPECT_TRUE(cliente.Fechou()) << pedido.substr(0, 40);
    return recebido.substr(0, 12);
  };
  EXPECT_EQ(resposta("GARBAGE\r\n\r\n"), "HTTP/1.1 400");
  EXPECT_EQ(resposta("FOO /metrics HTTP/1.1\r\n\r\n"), "HTTP/1.1 400");
  EXPECT_EQ(resposta("DELETE /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc"), "HTTP/1.1 405");
  EXPECT_EQ(resposta("GET /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n"), "HTTP/1.1 414");
  // Headers without end: refused once the request passes its size; a
  // request line without end: cut off without an answer.
  std::string cabecalhos = "GET /metrics HTTP/1.1\r\n";
  for (int i = 0; i < 2000; ++i) cabecalhos += "X-Enchimento-" + std::to_string(i) + ": abcdefghij\r\n";
  EXPECT_EQ(resposta(cabecalhos), "HTTP/1.1 400");
  EXPECT_EQ(resposta("GET /" + std::string(100000, 'b')), "");

  // Silent, and too slow: closed once the time for one request is over.
  ClienteHttpTeste calado(porta);
  EXPECT_EQ(calado.LerAteFechar(10s), "");
  EXPECT_TRUE(calado.Fechou());
  ClienteHttpTeste lento(porta);
  lento.Enviar("GET /metrics HTTP/1.1\r\n");
  for (int i = 0; i < 30 && lento.Enviar("X: 1\r\n"); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(lento.LerAteFechar(10s).substr(0, 12), "HTTP/1.1 400");
  EXPECT_TRUE(lento.Fechou());

  // Three held connections take every worker, a fourth waits: the fifth is
  // refused at once.
  {
    std::vector<std::unique_ptr<ClienteHttpTeste>> presos;
    for (int i = 0; i < 4; ++i) {
      presos.push_back(std::make_unique<ClienteHttpTeste>(porta));
      presos.back()->Enviar("GET /healthz HTTP/1.1\r\n");
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(resposta("GET /healthz HTTP/1.1\r\n\r\n"), "HTTP/1.1 503");
  }

  // Still answering, kept alive across requests.
  httplib::Client cliente("127.0.0.1", porta);
  cliente.set_keep_alive(true);
  for (int i = 0; i < 3; ++i) {
    auto saude = cliente.Get("/healthz");
    ASSERT_TRUE(saude) << i;
    EXPECT_TRUE(saude->status == 200 || saude->status == 503) << saude->status;
  }
  cliente.stop();
  EXPECT_TRUE(FServico->Parar(5s));
  EXPECT_EQ(Tarefas(), tarefasAntes);
}

}  // namespace
