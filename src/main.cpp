#include <QApplication>
#include <QStringList>

#include "platform/Dialogos.h"
#include "app/Encerramento.h"
#include "platform/VersaoSistema.h"
#include "app/ui/DialogosQt.h"
#include "app/ui/FontesSistema.h"
#include "app/ui/TraducaoQt.h"
#include "app/LinhaComando.h"
#include "app/ui/TFPainel.h"
#include "model/IServidorOffLine.h"
#include "panel/ParametrosPainel.h"
#include "platform/FusoHorario.h"

int main(int argc, char** argv) {
  // Before anything converts a date: the local zone is read once.
  FusoHorario::FixarDoSistema();
  // Start-up registrations first, then the version tag, both before any
  // window exists.
  RegistrarServidorOffLine();
  DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));

  QStringList argumentos;
  for (int i = 0; i < argc; ++i) argumentos << QString::fromLocal8Bit(argv[i]);
  const LinhaComando previa(argumentos);
  ParametrosPainel::DefinirContagemRapida(previa.ContagemRapida());
  // The modes without a window run on machines without a display too.
  if (!previa.AbreJanela()) {
    QCoreApplication app(argc, argv);
    return previa.Executar();
  }

  // Qt takes its own arguments (-platform, -style, ...) out of argv; what is
  // left is the program's.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("painel-integracao"));
  QApplication::setApplicationVersion(VersaoSistema());
  const LinhaComando linha(QCoreApplication::arguments());
  linha.Avisar();
  const TraducaoQt traducao;
  RegistrarFontesSistema();

  DialogosQt dialogos;
  Dialogos::Instalar(&dialogos);
  TFPainel painel(linha.ArquivoIni(), nullptr, !linha.ArquivoIni().isEmpty());
  if (Encerramento::Pedido()) return 0;
  painel.show();
  if (Encerramento::Pedido()) return 0;
  return app.exec();
}
