#include "panel/Temporizador.h"

#include <QTimer>
#include <limits>

Temporizador::Temporizador(QObject* dono) : QObject(dono), FTimer(new QTimer(this)) {
  FTimer->setTimerType(Qt::CoarseTimer);
  connect(FTimer, &QTimer::timeout, this, &Temporizador::Disparou);
  Armar();
}

int Temporizador::Espera() const {
  constexpr quint32 kMaior = static_cast<quint32>(std::numeric_limits<int>::max());
  return static_cast<int>(FIntervalo > kMaior ? kMaior : FIntervalo);
}

bool Temporizador::Armado() const { return FTimer->isActive(); }

void Temporizador::Armar() {
  FTimer->stop();
  if (!FAtivo || FIntervalo == 0) return;
  FTimer->start(Espera());
  ++FPeriodos;
}

void Temporizador::SetIntervalo(quint32 milissegundos) {
  if (milissegundos == FIntervalo) return;
  FIntervalo = milissegundos;
  Armar();
}

void Temporizador::SetAtivo(bool ativo) {
  if (ativo == FAtivo) return;
  FAtivo = ativo;
  Armar();
}

void Temporizador::Suspender(const std::function<void()>& corpo) {
  SetAtivo(false);
  try {
    corpo();
  } catch (...) {
    SetAtivo(true);
    throw;
  }
  SetAtivo(true);
}
