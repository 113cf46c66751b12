#include "app/ui/FontesSistema.h"

#include <QFont>
#include <QStringList>

void RegistrarFontesSistema() {
  // In order of closeness; the last one is on every Debian desktop.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
                              QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
}
