#pragma once

#include <QObject>

#include "app/GuardaFalhas.h"

// Connects a signal to a member of a window as an entry point from Qt: the
// member runs through the failure guard, so nothing it raises crosses into
// Qt. The member takes the signal's first arguments, or none.
//
// Threads: the user-interface thread only.
template <typename Emissor, typename Sinal, typename Janela, typename... Argumentos>
QMetaObject::Connection ConectarGuardado(const Emissor* emissor, Sinal sinal, Janela* janela,
                                         void (Janela::*membro)(Argumentos...)) {
  return QObject::connect(emissor, sinal, janela, [janela, membro](Argumentos... argumentos) {
    GuardaFalhas::Executar([&] { (janela->*membro)(argumentos...); });
  });
}
