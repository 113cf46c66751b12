#pragma once

#include <QDateTime>
#include <QString>

// How the panel writes dates: the short date format "dd/mm/yyyy" fixed at
// start, the user's long time format as it was at start (later changes of
// the regional settings are not followed).
//
// Threads: the user-interface thread only.
class FormatoDataHora {
 public:
  // The user's long time format, read once on first use. The time zone that
  // Qt's long format carries on some systems is left out: the column shows a
  // local wall-clock time, as the database stores it.
  static QString FormatoHora();
  // Fixes the time format (tests, or a start-up that reads it elsewhere).
  static void DefinirFormatoHora(const QString& formato);

  // A grid cell: empty for an absent value, the date alone at midnight,
  // otherwise the date, a blank and the time.
  static QString Celula(const QDateTime& valor);
  // "Informações atualizadas em " stamp: "dd/mm/yyyy hh:mm:ss", 24 hours.
  static QString Carimbo(const QDateTime& valor);
  // Machine-readable: "yyyy-MM-ddTHH:mm:ss"; empty for an absent value.
  static QString Iso(const QDateTime& valor);

  static QString SemFusoHorario(const QString& formato);
};
