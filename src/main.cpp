#include <QApplication>

#include "app/Dialogos.h"
#include "app/Encerramento.h"
#include "app/VersaoSistema.h"
#include "app/ui/DialogosQt.h"
#include "app/LinhaComando.h"
#include "app/ui/TFPainel.h"

int main(int argc, char** argv) {
  // Process-wide initialisation: dates are written "dd/mm/yyyy" wherever the
  // program shows them, and the regional settings are read once.
  DefinirVersaoSistema(QString());
  DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("painel-integracao"));
  QApplication::setApplicationVersion(VersaoSistema());

  LinhaComando linha(QApplication::arguments());
  if (!linha.AbreJanela()) return linha.Executar();

  DialogosQt dialogos;
  Dialogos::Instalar(&dialogos);
  TFPainel painel(linha.ArquivoIni());
  if (Encerramento::Pedido()) return 0;
  painel.show();
  if (Encerramento::Pedido()) return 0;
  return app.exec();
}
