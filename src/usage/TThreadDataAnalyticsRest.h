#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "usage/TThreadTrabalho.h"

enum TTipoAnalytics : std::uint8_t {
  taRotina = 0,  // a window was opened
};

// One usage report: a small JSON document naming the computer, the window,
// the logged branch and the version, posted by a thread of its own through
// the REST request model. Reporting never delays, disturbs or informs the
// user: every failure is dropped without a trace. Without a logged branch
// (always so in this program) the body cannot be built and no thread runs.
//
// Threads: EnviarRotina and MontarCorpo run on the user-interface thread,
// which owns the session; the body runs on the report's own thread and reads
// only its object, the report settings and the transport binding.
class TThreadDataAnalyticsRest : public TThreadTrabalho {
 public:
  explicit TThreadDataAnalyticsRest(TTipoAnalytics tipo);

  // Starts one report for a window's caption and returns at once; never
  // raises, never shows anything.
  static void EnviarRotina(const QString& rotina) noexcept;

  // Builds FCorpo, the eight-line body, from the session, the logged branch
  // and the version; raises when there is no logged branch.
  void MontarCorpo(const QString& rotina);
  const QByteArray& Corpo() const { return FCorpo; }

  // "/rotina" for taRotina; empty for any other kind, which the executor
  // then refuses.
  static QString ObterRota(TTipoAnalytics tipo);

  // Builds, validates and sends the request; raises what fails.
  void EnviarRequisicao();

  // The `unit` member: "Sem Unit - " and the toolchain that built the program.
  static QByteArray Unit();

 protected:
  void Execute() override;

 private:
  TTipoAnalytics FTipo;
  QByteArray FCorpo;  // Windows-1252, complete before the thread starts
};
