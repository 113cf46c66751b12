#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "panel/LinhaStatus.h"

// The status rows written for scripts and monitoring systems, in the order
// of the grid, as UTF-8:
//   Tabela     aligned text under the grid's column titles;
//   Csv        RFC 4180 (CRLF, quotes doubled) with the field names as header;
//   Json       an array of objects keyed by field name, dates
//              "yyyy-MM-ddTHH:mm:ss" or null, counts as numbers;
//   Prometheus text exposition: one gauge per count and per date (seconds
//              since the epoch), one for open errors, labelled by branch and
//              machine.
namespace SaidaStatus {

enum class Formato { Tabela, Csv, Json, Prometheus };

// "table", "csv", "json", "prometheus"; false for anything else.
bool FormatoPorNome(const QString& nome, Formato& formato);

QByteArray Escrever(Formato formato, const std::vector<LinhaStatus>& linhas);

QByteArray Tabela(const std::vector<LinhaStatus>& linhas);
QByteArray Csv(const std::vector<LinhaStatus>& linhas);
QByteArray Json(const std::vector<LinhaStatus>& linhas);
QByteArray Prometheus(const std::vector<LinhaStatus>& linhas);

}  // namespace SaidaStatus
