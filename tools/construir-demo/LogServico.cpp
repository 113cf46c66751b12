#include "LogServico.h"

#include <algorithm>

#include "Sorteio.h"
#include "platform/Windows1252.h"

namespace {

// One machine's lines: that it waits for its first synchronisation, the
// warnings since it stopped, or its cycles.
void LogDaMaquina(int i, const ConteudoDemo& conteudo, Sorteio& sorteio, const QDateTime& inicio,
                  QList<LinhaLog>& log) {
  const Maquina& m = kMaquinas[i];
  const EstadoMaquina& estado = conteudo.Estados[i];
  const QList<Alteracao>& alteracoes = conteudo.Alteracoes;
  const QString nome = QStringLiteral("[%1-%2] ").arg(m.CodFilial(), m.Ecf);
  if (!estado.UltReceb.isValid()) {
    log << LinhaLog{inicio.addSecs(sorteio.Entre(0, 3600)),
                     nome + QStringLiteral("Máquina cadastrada, aguardando a primeira sincronização.")};
    return;
  }
  if (estado.UltReceb < inicio) {
    for (QDateTime t = inicio.addSecs(600); t < kInstante; t = t.addSecs(3600))
      log << LinhaLog{t, nome + QStringLiteral("ATENÇÃO: sem comunicação desde %1.").arg(Br(estado.UltReceb))};
    return;
  }
  // Cycles go back from the last receipt; each delivers the changes that
  // came since the one before, up to the machine's last received change.
  QList<QDateTime> ciclos;
  for (QDateTime t = estado.UltReceb; t > inicio; t = t.addSecs(-sorteio.Entre(6 * 60, 18 * 60))) ciclos.prepend(t);
  int proxima = 0;
  while (proxima < alteracoes.size() && alteracoes[proxima].DataHora <= inicio) ++proxima;
  for (const QDateTime& ciclo : ciclos) {
    int primeira = 0, ultima = 0, qtd = 0;
    while (proxima < estado.UltIdServer && alteracoes[proxima].DataHora <= ciclo) {
      const Alteracao& a = alteracoes[proxima++];
      if (!Relevante(a, m.CodFilial())) continue;
      if (qtd++ == 0) primeira = a.Ordem;
      ultima = a.Ordem;
    }
    if (qtd == 1)
      log << LinhaLog{ciclo, nome + QStringLiteral("Enviado 1 registro à máquina (ORDEM %1).").arg(primeira)};
    else if (qtd > 1)
      log << LinhaLog{ciclo, nome + QStringLiteral("Enviados %1 registros à máquina (ORDEM %2 a %3).")
                                         .arg(qtd)
                                         .arg(primeira)
                                         .arg(ultima)};
    else
      log << LinhaLog{ciclo, nome + QStringLiteral("Sincronização concluída: nada a enviar.")};
  }
}

// What the machines sent: each queue entry as it arrived, and the ones
// whose script failed; then the errors recorded.
void LogDaFilaEErros(const ConteudoDemo& conteudo, const QDateTime& inicio, QList<LinhaLog>& log) {
  const QMap<QString, QString> acoes = {{"A", "alteração"}, {"I", "inclusão"}, {"E", "exclusão"}, {"P", "procedure"}};
  for (const EntradaFila& e : conteudo.Fila) {
    const QString nome = QStringLiteral("[%1-%2] ").arg(kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf);
    if (e.Inclusao >= inicio)
      log << LinhaLog{e.Inclusao, nome + QStringLiteral("Recebida da máquina a entrada %1 (%2 em %3); incluída na "
                                                         "fila de integração.")
                                              .arg(e.IdOrigem)
                                              .arg(acoes.value(e.Acao, QStringLiteral("ação ") + e.Acao), e.Tabela)};
    if (e.Status == 3 && e.Execucao >= inicio)
      log << LinhaLog{e.Execucao, nome + QStringLiteral("ERRO ao executar a entrada %1 da fila (%2): o script "
                                                         "falhou e a entrada ficou com situação Erro.")
                                              .arg(e.IdOrigem)
                                              .arg(e.Tabela)};
  }
  for (const Erro& e : conteudo.Erros)
    if (e.Data >= inicio && !e.Mensagem.isEmpty())
      log << LinhaLog{e.Data, QStringLiteral("[%1-%2] Erro de integração nº %3 registrado: %4")
                                   .arg(kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf)
                                   .arg(e.Id)
                                   .arg(e.Mensagem.section(QStringLiteral("\r\n"), 0, 0))};
}

}  // namespace

// The integration service's log of the last six hours: one block per cycle
// of each machine that had something to do, the errors, and the warnings
// about the machine that stopped.
QList<LinhaLog> GerarLogServico(const ConteudoDemo& conteudo, Sorteio& sorteio) {
  QList<LinhaLog> log;
  const QDateTime inicio = kInstante.addSecs(-6 * 3600);
  log << LinhaLog{inicio.addSecs(-300), QStringLiteral("Serviço de integração off-line iniciado (Velmora 29.07).")};
  log << LinhaLog{inicio.addSecs(-298), QStringLiteral("Banco central: srv-aurora:/dados/velmora.fdb; %1 máquinas "
                                                        "cadastradas.")
                                             .arg(kMaquinas.size())};
  for (int i = 0; i < kMaquinas.size(); ++i) LogDaMaquina(i, conteudo, sorteio, inicio, log);
  LogDaFilaEErros(conteudo, inicio, log);
  std::stable_sort(log.begin(), log.end(),
                   [](const LinhaLog& a, const LinhaLog& b) { return a.Momento < b.Momento; });
  return log;
}

QByteArray TextoLogServico(const QList<LinhaLog>& log) {
  QString texto;
  for (const LinhaLog& l : log) texto += Br(l.Momento) + QStringLiteral("  ") + l.Texto + QStringLiteral("\r\n");
  return Windows1252::deUnicode(texto);
}
