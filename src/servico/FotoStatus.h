#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "panel/LinhaStatus.h"

// What the service knows after a refresh, frozen: published once by the
// refresh thread and then only read, by any number of request threads at
// once, for as long as one of them holds it. Nothing in it changes after
// publication, so readers need no lock.
//
// The rows are those of the last refresh that succeeded (a failed refresh
// keeps the previous ones and their read time). The answers are written
// once per refresh, here, so that a request costs a copy and never a
// formatting of the rows.
struct FotoStatus {
  std::shared_ptr<const std::vector<LinhaStatus>> Linhas;
  // Whether a refresh has ever succeeded (until then there are no rows).
  bool LinhasLidas = false;
  // When the rows were read (UTC); invalid before the first success.
  QDateTime LidasEm;
  // The last refresh, successful or not.
  double DuracaoSegundos = 0;
  bool BancoAcessivel = false;
  // Whether the panel shows "Maq. ECF" (read from the database at each
  // attachment), so that the status page shows the window's columns.
  bool MostraColunaMaquina = false;
  // Why the last refresh failed; empty when it succeeded.
  QString UltimoErro;
  quint64 Atualizacoes = 0;
  quint64 Falhas = 0;

  // The bodies of /metrics, /status.json and /healthz.
  std::string Metricas;
  std::string StatusJson;
  std::string Saude;
};
