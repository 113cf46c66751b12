#include "app/ui/TraducaoQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>

TraducaoQt::TraducaoQt() {
  // Brazilian Portuguese, as the operators speak, whatever the machine's
  // locale says.
  if (FTradutor.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    FInstalada = QCoreApplication::installTranslator(&FTradutor);
}

TraducaoQt::~TraducaoQt() {
  if (FInstalada) QCoreApplication::removeTranslator(&FTradutor);
}
