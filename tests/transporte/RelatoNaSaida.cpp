// Starts a usage report whose transport call is held inside the library, then
// ends the process while the report thread still runs. Exits with 0 when the
// process ended normally; a report thread that kept the process from ending
// shows as a crash or a hang in the test that runs this. The library is
// named by its bare file name and found beside this program, where the
// program's own library is installed.

#include "RegistroTransporte.h"
#include "platform/VersaoSistema.h"
#include "platform/BibliotecaDinamica.h"
#include "usage/ParametrosAnalytics.h"
#include "usage/TRESTBO.h"
#include "usage/TSessao.h"
#include "usage/TThreadDataAnalyticsRest.h"

int main(int argc, char** argv) {
  if (argc != 2) return 3;
  const QString arquivo = QString::fromLocal8Bit(argv[1]);
  BibliotecaDinamica::Modulo biblioteca = BibliotecaDinamica::Carregar(arquivo);
  if (!biblioteca) return 4;
  auto reter = reinterpret_cast<void (*)(bool)>(BibliotecaDinamica::Procurar(biblioteca, "TransporteTeste_Reter"));
  auto aguardarEntrada =
      reinterpret_cast<int (*)()>(BibliotecaDinamica::Procurar(biblioteca, "TransporteTeste_AguardarEntrada"));
  if (!reter || !aguardarEntrada) return 5;

  static const TFilial filial{QStringLiteral("Filial"), QStringLiteral("12345678000199")};
  DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));
  TSessao::getInstancia().SetFilialLogada(&filial);
  DefinirURLBaseAnalytics(QStringLiteral("http://localhost"));
  TRESTBO::SetCaminhoBiblioteca(arquivo);

  reter(true);
  TThreadDataAnalyticsRest::EnviarRotina(QStringLiteral("Saída"));
  if (aguardarEntrada() < 1) return 2;
  return 0;
}
