#include <gtest/gtest.h>

#include <httplib.h>

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <mutex>
#include <thread>

#include "ConfiguracaoTeste.h"
#include "TesteServidor.h"
#include "servico/ServicoMonitoramento.h"

namespace {

using namespace std::chrono_literals;

// The service over the test server while the server is killed and started
// again, and while the database is shut down and brought back: a client
// asking all along always gets an answer, the last rows stay with their
// time, and the service attaches again by itself.
class ServicoServidor : public TesteServidor {
 protected:
  void Maquina(const QString& maquina) {
    FBanco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', '%1')").arg(maquina));
  }

  // Branch 01 with machine CX01, and the service's options over it.
  ServicoMonitoramento::Opcoes OpcoesComUmaMaquina() {
    FBanco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro')"));
    Maquina(QStringLiteral("CX01"));
    ServicoMonitoramento::Opcoes opcoes;
    opcoes.Atualizacao.ArquivoIni =
        ConfiguracaoTeste::Escrever(FPasta.path(), Caminho(), ServidorTeste::Usuario(), ServidorTeste::Senha());
    return opcoes;
  }

  // The service's log, kept line by line.
  AtualizacaoContinua::Registro Registro() {
    return [this](const QString& linha) {
      std::lock_guard<std::mutex> trava(FMutexLog);
      FLog << linha;
    };
  }
  QStringList Log() {
    std::lock_guard<std::mutex> trava(FMutexLog);
    return FLog;
  }

  // The status page's JSON, read from the service.
  static QJsonObject Painel(httplib::Client& cliente) {
    auto resposta = cliente.Get("/painel.json");
    if (!resposta || resposta->status != 200) return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(resposta->body)).object();
  }

  // What the service last published, for a failure's message: whether the
  // refresh still runs (its duration grows) or reads without error.
  static std::string Relato(const ServicoMonitoramento& servico) {
    const auto foto = servico.Foto();
    return QStringLiteral("acessível=%1 atualizações=%2 falhas=%3 duração=%4 s lidas_em=%5 erro=%6")
        .arg(foto->BancoAcessivel)
        .arg(foto->Atualizacoes)
        .arg(foto->Falhas)
        .arg(foto->DuracaoSegundos)
        .arg(foto->LidasEm.toString(Qt::ISODateWithMs), foto->UltimoErro)
        .toStdString();
  }

  static bool Esperar(const std::function<bool()>& condicao) {
    QDeadlineTimer prazo(30000);
    while (!condicao()) {
      if (prazo.hasExpired()) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  QTemporaryDir FPasta;
  std::mutex FMutexLog;
  QStringList FLog;
};

TEST_F(ServicoServidor, ServidorMortoEBancoDesligadoSobOServicoQueNuncaDeixaDeResponder) {
  auto opcoes = OpcoesComUmaMaquina();
  // A second between refreshes: the shutdown below falls between two.
  opcoes.Atualizacao.Periodo = 1s;
  ServicoMonitoramento servico(opcoes, Registro());
  servico.Iniciar();
  auto linhas = [&] { return servico.Foto()->Linhas->size(); };
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->BancoAcessivel; })) << servico.Foto()->UltimoErro.toStdString();

  // A client on a kept-alive connection, asking the whole time.
  std::atomic<bool> parar{false};
  std::atomic<int> respostas{0}, semResposta{0};
  std::thread perguntador([&] {
    httplib::Client cliente("127.0.0.1", servico.Porta());
    cliente.set_keep_alive(true);
    while (!parar) {
      auto resposta = cliente.Get("/metrics");
      (resposta && resposta->status == 200 ? respostas : semResposta)++;
      std::this_thread::sleep_for(5ms);
    }
  });
  // A failed assertion returns early: the client is stopped all the same,
  // and the failure is reported rather than ending the process.
  struct Juntar {
    std::atomic<bool>& Parar;
    std::thread& Linha;
    ~Juntar() {
      Parar = true;
      if (Linha.joinable()) Linha.join();
    }
  } juntar{parar, perguntador};

  httplib::Client cliente("127.0.0.1", servico.Porta());
  MatarServidor();
  ASSERT_TRUE(Esperar([&] { return !servico.Foto()->BancoAcessivel; })) << Relato(servico);
  auto saude = cliente.Get("/healthz");
  ASSERT_TRUE(saude);
  EXPECT_EQ(saude->status, 503);
  EXPECT_NE(saude->body.find("Error reading data from the connection."), std::string::npos) << saude->body;
  auto metricas = cliente.Get("/metrics");
  ASSERT_TRUE(metricas);
  EXPECT_NE(metricas->body.find("\npainel_integracao_banco_acessivel 0\n"), std::string::npos);
  EXPECT_NE(metricas->body.find("painel_integracao_registros_a_enviar{filial=\"01\",maquina=\"CX01\"} 0\n"),
            std::string::npos) << "the last rows stay";
  // Retrying every period, the rows and their read time kept meanwhile.
  const auto durante = servico.Foto();
  std::this_thread::sleep_for(1500ms);
  EXPECT_GT(servico.Foto()->Falhas, durante->Falhas);
  EXPECT_EQ(servico.Foto()->LidasEm, durante->LidasEm);
  EXPECT_TRUE(durante->LidasEm.isValid());
  EXPECT_EQ(linhas(), 1u);
  // The page says since when, and keeps the last rows.
  QJsonObject painel;
  ASSERT_TRUE(Esperar([&] { return (painel = Painel(cliente))[QStringLiteral("banco_inacessivel_desde")].isString(); }));
  EXPECT_EQ(painel[QStringLiteral("linhas")].toArray().size(), 1);

  // Back on the same port: attached again, the new row read.
  FServidor.Iniciar();
  Maquina(QStringLiteral("CX02"));
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->BancoAcessivel && linhas() == 2; }))
      << servico.Foto()->UltimoErro.toStdString();
  EXPECT_EQ(cliente.Get("/healthz")->status, 200);
  ASSERT_TRUE(Esperar([&] {
    painel = Painel(cliente);
    return painel[QStringLiteral("banco_inacessivel_desde")].isNull() && painel[QStringLiteral("linhas")].toArray().size() == 2;
  }));
  // Both machines have a history; one the service never saw has none.
  EXPECT_EQ(cliente.Get("/history.json?filial=01&maquina=CX02")->status, 200);
  EXPECT_EQ(cliente.Get("/history.json?filial=01&maquina=CX09")->status, 404);

  // The database shut down and brought back online. The shutdown is given
  // right after a refresh: Firebird 3.0's forced shutdown racing a request
  // in flight may leave that attachment alive, or its request unanswered
  // (the service's watch covers the latter; see the frozen server below).
  const quint64 feitas = servico.Foto()->Atualizacoes;
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->Atualizacoes > feitas; }));
  FServidor.DesligarBanco(FBanco.Caminho());
  ASSERT_TRUE(Esperar([&] { return !servico.Foto()->BancoAcessivel; })) << Relato(servico);
  EXPECT_EQ(cliente.Get("/healthz")->status, 503);
  FBanco.Conexao().Fechar();
  FServidor.ReligarBanco(FBanco.Caminho());
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->BancoAcessivel; })) << Relato(servico);

  parar = true;
  perguntador.join();
  EXPECT_GT(respostas, 20);
  EXPECT_EQ(semResposta, 0);
  EXPECT_TRUE(servico.Parar(5s));
  const auto foto = servico.Foto();
  EXPECT_GE(foto->Falhas, 2u);
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 5) << log.join(u'\n').toStdString();
  EXPECT_EQ(log[0], QStringLiteral("primeira leitura do banco: 1 linha(s)"));
  EXPECT_TRUE(log[1].startsWith(QStringLiteral("banco inacessível: "))) << log[1].toStdString();
  EXPECT_EQ(log[2], QStringLiteral("banco acessível de novo"));
  EXPECT_TRUE(log[3].startsWith(QStringLiteral("banco inacessível: "))) << log[3].toStdString();
  EXPECT_EQ(log[4], QStringLiteral("banco acessível de novo"));
  EXPECT_FALSE(log.join(u'\n').contains(ServidorTeste::Senha()));
}

// A server that stops answering without closing the connection leaves the
// refresh waiting inside the client library: past the answer deadline the
// service says the database does not answer (the rows kept), and the
// refresh's own result takes over when the server wakes.
TEST_F(ServicoServidor, ServidorCongeladoDaBancoSemRespostaNoPrazoEVoltaQuandoAcorda) {
  auto opcoes = OpcoesComUmaMaquina();
  opcoes.Atualizacao.Periodo = 200ms;
  opcoes.Atualizacao.PrazoResposta = 2s;
  opcoes.Atualizacao.PrazoDesistencia = 4s;
  std::atomic<int> desistencias{0};
  opcoes.Atualizacao.Desistir = [&] { ++desistencias; };
  ServicoMonitoramento servico(opcoes, Registro());
  servico.Iniciar();
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->BancoAcessivel; })) << servico.Foto()->UltimoErro.toStdString();
  const auto antes = servico.Foto();

  // Whatever happens below, the server wakes before the next test uses it.
  struct Acordar {
    ServidorTeste& Servidor;
    ~Acordar() { Servidor.Descongelar(); }
  } acordar{FServidor};
  FServidor.Congelar();
  ASSERT_TRUE(Esperar([&] { return !servico.Foto()->BancoAcessivel; })) << Relato(servico);
  const auto congelado = servico.Foto();
  EXPECT_TRUE(congelado->UltimoErro.startsWith(QStringLiteral("O banco de dados não respondeu em ")))
      << congelado->UltimoErro.toStdString();
  EXPECT_GE(congelado->DuracaoSegundos, 2.0);
  EXPECT_EQ(congelado->LidasEm, antes->LidasEm);
  EXPECT_EQ(congelado->Linhas->size(), 1u);
  // Answered at once from the kept rows, though the refresh still waits.
  httplib::Client cliente("127.0.0.1", servico.Porta());
  cliente.set_read_timeout(2, 0);
  auto saude = cliente.Get("/healthz");
  ASSERT_TRUE(saude);
  EXPECT_EQ(saude->status, 503);
  EXPECT_EQ(saude->body, congelado->UltimoErro.toStdString() + '\n');
  auto metricas = cliente.Get("/metrics");
  ASSERT_TRUE(metricas);
  EXPECT_NE(metricas->body.find("\npainel_integracao_banco_acessivel 0\n"), std::string::npos);
  EXPECT_NE(metricas->body.find("maquina=\"CX01\""), std::string::npos) << "the last rows stay";
  // Declared once per hung refresh: nothing more is published meanwhile;
  // past the second deadline the service gives up on it, once.
  ASSERT_TRUE(Esperar([&] { return desistencias > 0; }));
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(desistencias, 1);
  EXPECT_EQ(servico.Foto(), congelado);

  FServidor.Descongelar();
  ASSERT_TRUE(Esperar([&] { return servico.Foto()->BancoAcessivel; })) << servico.Foto()->UltimoErro.toStdString();
  EXPECT_EQ(cliente.Get("/healthz")->status, 200);
  EXPECT_TRUE(servico.Parar(5s));
  const QStringList log = Log();
  ASSERT_GE(log.size(), 4) << log.join(u'\n').toStdString();
  EXPECT_EQ(log[1], QStringLiteral("banco inacessível: ") + congelado->UltimoErro);
  EXPECT_EQ(log[2], QStringLiteral("a leitura do banco não voltou em 4 s: desistindo dela"));
  EXPECT_EQ(log[3], QStringLiteral("banco acessível de novo"));
}

}  // namespace
