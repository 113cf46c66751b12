#include "platform/FusoHorario.h"

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

void FusoHorario::FixarDoSistema() {
#ifndef Q_OS_WIN
  if (qEnvironmentVariableIsSet("TZ")) return;
  qputenv("TZ", QByteArray(":/etc/localtime"));
  tzset();
#endif
}
