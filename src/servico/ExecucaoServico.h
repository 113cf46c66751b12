#pragma once

#include "servico/ServicoMonitoramento.h"

// "--serve" as a process: starts the service, logs to standard error one
// line per change of state, waits for SIGTERM or SIGINT, stops in order and
// gives the exit status (0; 1 when it could not listen). Never returns
// later than two seconds after the signal: a refresh stuck in a database
// call is left behind by ending the process.
//
// Threads: the main thread, before any other thread of the program exists
// (the signals are blocked for every thread started after it).
namespace ExecucaoServico {

int Executar(ServicoMonitoramento::Opcoes opcoes);

// "2026-12-10 14:03:07 painel-integracao: <texto>" on standard error, in
// one write.
void Registrar(const QString& texto);

}  // namespace ExecucaoServico
