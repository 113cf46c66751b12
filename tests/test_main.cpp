#include <gtest/gtest.h>

#include <QApplication>

#include "DialogosGravados.h"
#include "app/Encerramento.h"
#include "app/ui/FontesSistema.h"

namespace {

// Every test starts with no recorded box and no pending request to end.
class Limpeza : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    DialogosGravados::Instancia().Limpar();
    Encerramento::Limpar();
  }
};

}  // namespace

// Every test executable runs with a real QApplication on the offscreen
// platform, so widget tests build the real windows without a display. Boxes
// are recorded, never shown; a request to end the application is recorded,
// never carried out.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegistrarFontesSistema();
  Dialogos::Instalar(&DialogosGravados::Instancia());
  Encerramento::SetAcao([] {});
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new Limpeza);
  return RUN_ALL_TESTS();
}
