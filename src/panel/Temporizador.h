#pragma once

#include <QObject>
#include <functional>

class QTimer;

// The refresh timer. Its period is an unsigned 32-bit number of
// milliseconds; 0 means it never ticks, even when on. Switching it on after
// it was off starts a full new period; switching it to the state it already
// has changes nothing. Qt's timers take a signed int, so a longer period is
// held back to the largest one they take (about 24.8 days), the same cap the
// platform's own timer applies; it is never wrapped into a short period.
//
// Threads: the user-interface thread only.
class Temporizador : public QObject {
  Q_OBJECT

 public:
  explicit Temporizador(QObject* dono = nullptr);

  quint32 Intervalo() const { return FIntervalo; }
  // A new period while on restarts the count; the same period changes nothing.
  void SetIntervalo(quint32 milissegundos);
  bool Ativo() const { return FAtivo; }
  void SetAtivo(bool ativo);

  // Off while the body runs, on again afterwards whichever way it ends.
  void Suspender(const std::function<void()>& corpo);

  // Whether a tick is scheduled, and after how many milliseconds a period
  // ends (the cap applied); for diagnostics and tests.
  bool Armado() const;
  int Espera() const;
  // How many periods have been started since creation.
  quint64 PeriodosIniciados() const { return FPeriodos; }

 signals:
  void Disparou();

 private:
  void Armar();

  QTimer* FTimer;
  quint32 FIntervalo = 1000;
  bool FAtivo = true;
  quint64 FPeriodos = 0;
};
