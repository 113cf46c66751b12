#pragma once

#include <QtGlobal>
#include <memory>

struct LinhaStatus;

// One sample of a machine, as compact as the history needs it: the minute it
// was taken, the three backlogs, the error flag and the last receipt and send
// as seconds since the epoch (0: absent). 28 bytes.
struct PontoHistorico {
  quint32 Minuto = 0;
  qint32 Receber = 0;
  qint32 Enviar = 0;
  qint32 Fila = 0;
  quint32 UltReceb = 0;
  quint32 UltEnvio = 0;
  bool Erro = false;

  qint64 Pendencias() const { return qint64(Receber) + Enviar + Fila; }
};

// The recent history of one machine: a fixed ring of one point a minute over
// the last 24 hours, allocated whole on the first sample so that its memory
// never grows afterwards. Samples taken within the same minute are thinned to
// the last of them, which is the freshest; minutes without a sample (the
// database could not be read, the process was not running) are simply
// absent, so every point carries its own minute.
//
// Threads: not thread-safe; HistoricoStatus guards it.
class HistoricoMaquina {
 public:
  static constexpr int kSegundosPorPonto = 60;
  static constexpr int kPontos = 24 * 60;

  HistoricoMaquina() = default;
  HistoricoMaquina(const HistoricoMaquina& outro);
  HistoricoMaquina& operator=(const HistoricoMaquina& outro);
  HistoricoMaquina(HistoricoMaquina&&) noexcept = default;
  HistoricoMaquina& operator=(HistoricoMaquina&&) noexcept = default;

  // A sample taken at this time (seconds since the epoch). A time earlier
  // than the newest point means the clock was set back: the minutes no
  // longer order, so the history starts again from this sample.
  void Registrar(const LinhaStatus& linha, qint64 segundos);

  int QtdPontos() const { return FQtd; }
  bool Vazio() const { return FQtd == 0; }
  // 0 is the oldest point kept, QtdPontos() - 1 the newest.
  const PontoHistorico& Ponto(int i) const { return FPontos[(FInicio + i) % kPontos]; }
  const PontoHistorico& Ultimo() const { return Ponto(FQtd - 1); }

  // Seconds since the epoch as a point stores a date; 0 for an absent one.
  static quint32 Segundos(qint64 segundosDesdeEpoca);

 private:
  std::unique_ptr<PontoHistorico[]> FPontos;
  int FInicio = 0;
  int FQtd = 0;
};
