#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QString>

#include "RegistroTransporte.h"
#include "usage/TRESTBO.h"

// The test transport library as the tests see it: the same handle the
// binding gets, so the registry read here is the one the library fills.
class TransporteCarregado {
 public:
  // Points the binding at the test library (forgetting any kept instance)
  // and clears what the library recorded.
  static TransporteCarregado Usar() {
    TRESTBO::SetCaminhoBiblioteca(QStringLiteral(PAINEL_TRANSPORTE_TESTE));
    TransporteCarregado transporte;
    transporte.FLimpar();
    transporte.FReter(false);
    return transporte;
  }

  RegistroTransporte& Registro() const { return *FRegistro(); }
  int Aguardar(int chamadas) const { return FAguardar(chamadas); }
  int AguardarEntrada() const { return FAguardarEntrada(); }
  void Reter(bool reter) const { FReter(reter); }

 private:
  TransporteCarregado() {
    void* modulo = dlopen(PAINEL_TRANSPORTE_TESTE, RTLD_NOW | RTLD_LOCAL);
    if (!modulo) throw std::runtime_error(dlerror());
    FRegistro = reinterpret_cast<RegistroTransporte* (*)()>(dlsym(modulo, "TransporteTeste_Registro"));
    FAguardar = reinterpret_cast<int (*)(int)>(dlsym(modulo, "TransporteTeste_Aguardar"));
    FAguardarEntrada = reinterpret_cast<int (*)()>(dlsym(modulo, "TransporteTeste_AguardarEntrada"));
    FLimpar = reinterpret_cast<void (*)()>(dlsym(modulo, "TransporteTeste_Limpar"));
    FReter = reinterpret_cast<void (*)(bool)>(dlsym(modulo, "TransporteTeste_Reter"));
  }

  RegistroTransporte* (*FRegistro)() = nullptr;
  int (*FAguardar)(int) = nullptr;
  int (*FAguardarEntrada)() = nullptr;
  void (*FLimpar)() = nullptr;
  void (*FReter)(bool) = nullptr;
};
