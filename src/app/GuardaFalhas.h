#pragma once

#include <functional>

#include "platform/Falha.h"

// No failure crosses into Qt: every entry point from Qt (slot, event
// override, timer tick, show event) runs its body through Executar, which
// hands whatever escapes to the installed handler (the main window's
// TratarExcecao). Until one is installed, failures are written to stderr.
//
// Threads: the user-interface thread only; the usage-report thread drops its
// failures itself and never comes here.
namespace GuardaFalhas {

using Tratador = std::function<void(const Falha&)>;

void Instalar(Tratador tratador);
void Executar(const std::function<void()>& corpo) noexcept;
// Hands a failure that was caught elsewhere to the handler.
void Tratar(const Falha& falha) noexcept;

}  // namespace GuardaFalhas
