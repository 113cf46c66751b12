#include <QApplication>
#include <QStringList>

#include "platform/Dialogos.h"
#include "app/Encerramento.h"
#include "platform/VersaoSistema.h"
#include "app/ui/DialogosQt.h"
#include "app/ui/FontesSistema.h"
#include "app/LinhaComando.h"
#include "app/ui/TFPainel.h"
#include "model/IServidorOffLine.h"
#include "panel/ParametrosPainel.h"
#include "platform/FusoHorario.h"

int main(int argc, char** argv) {
  // Before anything converts a date: the local zone is read once.
  FusoHorario::FixarDoSistema();
  // Process-wide initialisation: dates are written "dd/mm/yyyy" wherever the
  // program shows them, and the regional settings are read once; the
  // synchronisation service's declaration is registered.
  DefinirVersaoSistema(QString());
  RegistrarServidorOffLine();
  DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));

  QStringList argumentos;
  for (int i = 0; i < argc; ++i) argumentos << QString::fromLocal8Bit(argv[i]);
  const LinhaComando linha(argumentos);
  ParametrosPainel::DefinirContagemRapida(linha.ContagemRapida());
  // The modes without a window run on machines without a display too.
  if (!linha.AbreJanela()) {
    QCoreApplication app(argc, argv);
    return linha.Executar();
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("painel-integracao"));
  QApplication::setApplicationVersion(VersaoSistema());
  RegistrarFontesSistema();

  DialogosQt dialogos;
  Dialogos::Instalar(&dialogos);
  TFPainel painel(linha.ArquivoIni());
  if (Encerramento::Pedido()) return 0;
  painel.show();
  if (Encerramento::Pedido()) return 0;
  return app.exec();
}
