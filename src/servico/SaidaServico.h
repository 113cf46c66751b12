#pragma once

#include <QByteArray>

struct FotoStatus;

// The service's answers over a refresh's result, in UTF-8:
//   Metricas    the Prometheus text of --status --format=prometheus (once
//               rows have been read), then the service's own metrics:
//               refreshes done and failed, the last refresh's duration, the
//               time of the last good one and whether the database answers;
//   StatusJson  {"lidas_em", "duracao_segundos", "banco_acessivel",
//               "ultimo_erro", "linhas"}, "linhas" being the array of
//               --status --format=json byte for byte;
//   Saude       "ok" or the reason the last refresh failed.
// Every text from the database goes through the format's own escaping
// (SaidaStatus's label escaping, Qt's JSON writer).
namespace SaidaServico {

QByteArray Metricas(const FotoStatus& foto);
QByteArray StatusJson(const FotoStatus& foto);
QByteArray Saude(const FotoStatus& foto);

}  // namespace SaidaServico
