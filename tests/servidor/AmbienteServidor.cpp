#include <gtest/gtest.h>

#include "ServidorTeste.h"
#include "platform/Falha.h"

namespace {

// One server per test process: started before the first test, stopped after
// the last one whatever their outcome (a crash or a kill of the process ends
// it through ServidorTeste's own watch).
class AmbienteServidor : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      ServidorTeste::Instancia().Iniciar();
    } catch (const Falha& f) {
      FAIL() << f.what();
    }
  }
  void TearDown() override { ServidorTeste::Instancia().Parar(); }
};

[[maybe_unused]] ::testing::Environment* const gAmbiente = ::testing::AddGlobalTestEnvironment(new AmbienteServidor);

}  // namespace
