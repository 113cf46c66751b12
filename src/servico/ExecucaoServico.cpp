#include "servico/ExecucaoServico.h"

#include <QDateTime>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>

#include "platform/Falha.h"

namespace ExecucaoServico {

void Registrar(const QString& texto) {
  const QByteArray linha = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8() +
                           " painel-integracao: " + texto.toUtf8() + '\n';
  std::fwrite(linha.constData(), 1, static_cast<std::size_t>(linha.size()), stderr);
  std::fflush(stderr);
}

int Executar(ServicoMonitoramento::Opcoes opcoes) {
  // Blocked here, before the service's threads exist, so that they inherit
  // the mask and only sigwait below receives the signals.
  sigset_t sinais;
  sigemptyset(&sinais);
  sigaddset(&sinais, SIGTERM);
  sigaddset(&sinais, SIGINT);
  pthread_sigmask(SIG_BLOCK, &sinais, nullptr);
  // A client that goes away while being answered must not end the process.
  std::signal(SIGPIPE, SIG_IGN);

  // A refresh the database never answers holds an attachment no call can
  // free: leave with a failure, so that the supervisor (systemd's
  // Restart=on-failure) starts the service again with a fresh one.
  opcoes.Atualizacao.Desistir = [] {
    Registrar(QStringLiteral("encerrando com status 1, para ser iniciado de novo"));
    std::_Exit(1);
  };
  const auto periodo = opcoes.Atualizacao.Periodo;
  // An IPv6 address is written in brackets in a URL.
  QString endereco = QString::fromStdString(opcoes.Http.Endereco);
  if (endereco.contains(u':')) endereco = u'[' + endereco + u']';
  ServicoMonitoramento servico(std::move(opcoes), &Registrar);
  try {
    servico.Iniciar();
  } catch (const Falha& falha) {
    Registrar(falha.Mensagem());
    return 1;
  }
  Registrar(QStringLiteral("servindo em http://%1:%2/ (página em /; /metrics, /status.json, /healthz), %3")
                .arg(endereco)
                .arg(servico.Porta())
                .arg(periodo.count() > 0
                         ? QStringLiteral("atualização a cada %1 s").arg(periodo.count() / 1000)
                         : QStringLiteral("atualização no intervalo do painel")));
  int sinal = 0;
  sigwait(&sinais, &sinal);
  Registrar(QStringLiteral("encerrando (%1)").arg(sinal == SIGTERM ? QStringLiteral("SIGTERM") : QStringLiteral("SIGINT")));
  // Answers in flight get up to a second (ServidorHttp::Parar); the whole
  // stop stays under the two seconds a supervisor is promised.
  if (!servico.Parar(std::chrono::milliseconds(1800))) {
    // The refresh is inside a database call that will not return in time.
    Registrar(QStringLiteral("a atualização em curso foi abandonada"));
    std::_Exit(0);
  }
  return 0;
}

}  // namespace ExecucaoServico
