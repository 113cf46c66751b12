#include <gtest/gtest.h>

#include <cstdio>

#include "ServidorTeste.h"
#include "platform/Falha.h"

namespace {

// One server per test process: started before the first test, stopped after
// the last one whatever their outcome (a crash or a kill of the process ends
// it through ServidorTeste's own watch).
//
// A server that does not start must fail every test, not skip it: a failure
// here would make GoogleTest report the tests as skipped, and CTest count
// them as not run. So the failure is only told here, and every test's
// fixture fails with it.
class AmbienteServidor : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      ServidorTeste::Instancia().Iniciar();
    } catch (const Falha& f) {
      std::fprintf(stderr, "%s\n", f.what());
    }
  }
  void TearDown() override { ServidorTeste::Instancia().Parar(); }
};

[[maybe_unused]] ::testing::Environment* const gAmbiente = ::testing::AddGlobalTestEnvironment(new AmbienteServidor);

}  // namespace
