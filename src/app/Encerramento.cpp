#include "app/Encerramento.h"

#include <QCoreApplication>

namespace {

bool gPedido = false;

std::function<void()>& Acao() {
  static std::function<void()> acao = [] { QCoreApplication::exit(0); };
  return acao;
}

}  // namespace

namespace Encerramento {

void Pedir() {
  gPedido = true;
  if (Acao()) Acao()();
}

bool Pedido() { return gPedido; }

void SetAcao(std::function<void()> acao) { Acao() = std::move(acao); }

void Limpar() { gPedido = false; }

}  // namespace Encerramento
