#include "app/GuardaFalhas.h"

#include <cstdio>
#include <new>

namespace {

GuardaFalhas::Tratador& Instalado() {
  static GuardaFalhas::Tratador tratador;
  return tratador;
}

}  // namespace

namespace GuardaFalhas {

void Instalar(Tratador tratador) { Instalado() = std::move(tratador); }

void Tratar(const Falha& falha) noexcept {
  try {
    if (Instalado()) {
      Instalado()(falha);
      return;
    }
    std::fprintf(stderr, "%s\n", falha.what());
  } catch (...) {
    // The handler itself failed (no memory to show a box): nothing more can
    // be done for this failure, and the program must go on.
  }
}

void Executar(const std::function<void()>& corpo) noexcept {
  try {
    corpo();
  } catch (const Falha& falha) {
    Tratar(falha);
  } catch (const std::bad_alloc&) {
    Tratar(Falha(QStringLiteral("Memória insuficiente para concluir a operação.")));
  } catch (const std::exception& e) {
    Tratar(Falha(QString::fromLocal8Bit(e.what())));
  } catch (...) {
    Tratar(Falha(QStringLiteral("Falha desconhecida.")));
  }
}

}  // namespace GuardaFalhas
