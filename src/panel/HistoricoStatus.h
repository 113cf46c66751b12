#pragma once

#include <QDateTime>
#include <QHash>
#include <QReadWriteLock>
#include <QString>
#include <functional>
#include <vector>

#include "panel/HistoricoMaquina.h"
#include "panel/LinhaStatus.h"

// The history of every machine seen by the refreshes of this process, kept
// in memory from its start: a sample of each status row at each completed
// refresh, one point a minute over the last 24 hours (HistoricoMaquina). A
// machine not seen for the whole window is forgotten, so the memory follows
// the machines that exist: about 40 KB per machine, 40 MB at 1,000.
//
// A machine is its branch code (without blanks) and machine identifier.
//
// Threads: any. The service records on its refresh thread while requests
// read; every member takes the lock it needs.
class HistoricoStatus {
 public:
  HistoricoStatus();

  // One sample of every row, taken at this time.
  void Registrar(const std::vector<LinhaStatus>& linhas, const QDateTime& agora);

  // Runs leitura over the machine's history under the lock; false (and
  // nothing run) for a machine without history.
  bool Ler(const QString& codEmpresa, const QString& maquinaEcf,
           const std::function<void(const HistoricoMaquina&)>& leitura) const;
  int QtdMaquinas() const;

  // The time the window's readers use for ages and trends. Reading the clock
  // stays out of the rules; tests set it to a time of their own.
  QDateTime Agora() const;
  void DefinirRelogio(std::function<QDateTime()> relogio);

 private:
  static QString Chave(const QString& codEmpresa, const QString& maquinaEcf);

  mutable QReadWriteLock FTrava;
  QHash<QString, HistoricoMaquina> FMaquinas;
  std::function<QDateTime()> FRelogio;
};
