#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <ctime>

#include "platform/FusoHorario.h"

namespace {

// Puts TZ back as it was, however the test ends.
class AmbienteTz {
 public:
  AmbienteTz() : FTinha(qEnvironmentVariableIsSet("TZ")), FValor(qgetenv("TZ")) {}
  ~AmbienteTz() {
    if (FTinha) qputenv("TZ", FValor);
    else qunsetenv("TZ");
    tzset();
  }

 private:
  bool FTinha;
  QByteArray FValor;
};

qint64 Deslocamento(const QDateTime& momento) {
  return QDateTime(momento.date(), momento.time()).offsetFromUtc();
}

TEST(FusoHorario, ZonaDoSistemaNomeadaUmaVezEAEscolhidaPeloUsuarioMantida) {
  const AmbienteTz ambiente;
  const QDateTime verao(QDate(2024, 1, 15), QTime(12, 0)), inverno(QDate(2024, 7, 15), QTime(12, 0));

  // Without TZ: the system's zone, named so, and the same local times.
  qunsetenv("TZ");
  tzset();
  const qint64 antesVerao = Deslocamento(verao), antesInverno = Deslocamento(inverno);
  const QByteArray zonaAntes = QTimeZone::systemTimeZoneId();
  FusoHorario::FixarDoSistema();
  EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
  EXPECT_EQ(Deslocamento(verao), antesVerao);
  EXPECT_EQ(Deslocamento(inverno), antesInverno);
  EXPECT_EQ(QTimeZone::systemTimeZoneId(), zonaAntes) << "Qt reads the name as the system's zone";

  // A zone the user chose stays in force.
  qputenv("TZ", QByteArray("America/Sao_Paulo"));
  tzset();
  FusoHorario::FixarDoSistema();
  EXPECT_EQ(qgetenv("TZ"), QByteArray("America/Sao_Paulo"));
  EXPECT_EQ(Deslocamento(inverno), -3 * 3600);
}

}  // namespace
