#pragma once

#include <QDateTime>
#include <QString>
#include <utility>
#include <vector>

#include "panel/HistoricoMaquina.h"

// What the history of a machine says to an operator deciding whether a store
// needs a call. Every rule takes the present time as an argument; none reads
// the clock.
//
// Age of a date (the last receipt, the last send), from the present:
//   absent                "nunca"
//   in the future         "no futuro" (the machine's clock runs ahead)
//   under a minute        "há menos de 1 min"
//   under an hour         "há N min"   (whole minutes, rounded down)
//   under 48 hours        "há N h"     (whole hours, rounded down)
//   otherwise             "há N dias"
//
// Trend of a backlog: the change between the first and the last point of the
// last 15 minutes, over the minutes between them.
//   - Only points from the last restart of the machine on count: a restart
//     shows as its last receipt or last send going back in time (or becoming
//     absent); the counts before it belong to another run of the machine and
//     must not read as a backlog that grew or vanished.
//   - A gap (the database could not be read) leaves minutes without points;
//     the change is taken over the real time between the points there are.
//   - Fewer than two points, or points less than 2 minutes apart: no trend.
//
// Time to catch up of a backlog, from its last point and its trend:
//   nothing waiting                         "em dia"
//   no trend                                "sem dados"
//   it grew                                 "crescendo"
//   it did not move while work waits        "parado"
//   it fell: backlog / rate, rounded up     "≈ N min" under 2 hours,
//                                           "≈ N h" under 48 hours,
//                                           "≈ N dias" beyond (rounded)
// A machine's own time to catch up is the worst of its three backlogs:
// "crescendo", then "parado", then "sem dados", then the longest estimate;
// "em dia" only when all three are.
//
// Threads: any; it holds no state.
class RegrasHistorico {
 public:
  enum class Contagem { Receber, Enviar, Fila };
  enum class Sentido { SemDados, Caindo, Estavel, Subindo };

  struct Tendencia {
    Sentido Direcao = Sentido::SemDados;
    qint64 Atual = 0;     // the backlog at the newest point
    qint64 Variacao = 0;  // last minus first
    qint64 Minutos = 0;   // between first and last
  };

  static constexpr int kMinutosTendencia = 15;
  static constexpr int kMinutosMinimos = 2;

  static QString Idade(const QDateTime& data, const QDateTime& agora);
  static QString Idade(quint32 segundosDaData, const QDateTime& agora);

  static Tendencia TendenciaDe(const HistoricoMaquina& historico, Contagem contagem, const QDateTime& agora);
  // "Últimos 15 min: caiu 120 em 12 min", "... subiu 30 em 14 min",
  // "... sem variação", "... sem dados suficientes".
  static QString TextoTendencia(const Tendencia& tendencia);
  static QString Previsao(const Tendencia& tendencia);
  static QString PrevisaoMaquina(const HistoricoMaquina& historico, const QDateTime& agora);

  // The backlog of the three counts together over the whole history, as
  // (minute, backlog) pairs: at most this many, the last point of each equal
  // stretch of the time the history spans.
  static std::vector<std::pair<quint32, qint64>> Grafico(const HistoricoMaquina& historico, int maximo);

  static qint32 Valor(const PontoHistorico& ponto, Contagem contagem);

 private:
  static QString IdadeEmSegundos(qint64 segundos);
  // Estimated minutes to catch up; -1 when there is no estimate.
  static qint64 MinutosParaZerar(const Tendencia& tendencia);
};
