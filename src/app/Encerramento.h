#pragma once

#include <functional>

// Asking the application to terminate: the message loop ends and the process
// exits with status 0. The request is remembered, so a request made before
// the loop runs (a failure during start-up) still ends the process.
//
// Threads: the user-interface thread only.
namespace Encerramento {

void Pedir();
bool Pedido();
// Tests replace what a request does and clear it between cases.
void SetAcao(std::function<void()> acao);
void Limpar();

}  // namespace Encerramento
