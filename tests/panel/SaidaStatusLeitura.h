#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Reads the command line's outputs back, strictly, so that a malformed
// output fails the test instead of being read leniently.
namespace SaidaStatusLeitura {

// RFC 4180: CRLF after every record, quoted fields with doubled quotes.
// Anything else (a bare quote, a record not ended by CRLF) gives no record.
inline QList<QStringList> LerCsv(const QByteArray& bytes) {
  const QString texto = QString::fromUtf8(bytes);
  QList<QStringList> registros;
  QStringList registro;
  QString campo;
  qsizetype i = 0;
  while (i < texto.size()) {
    if (texto.at(i) == u'"') {
      ++i;
      for (;;) {
        if (i >= texto.size()) return {};
        if (texto.at(i) == u'"') {
          if (i + 1 < texto.size() && texto.at(i + 1) == u'"') {
            campo += u'"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        campo += texto.at(i++);
      }
    } else {
      while (i < texto.size() && texto.at(i) != u',' && texto.at(i) != u'\r') {
        if (texto.at(i) == u'"' || texto.at(i) == u'\n') return {};
        campo += texto.at(i++);
      }
    }
    if (i >= texto.size()) return {};
    registro << campo;
    campo.clear();
    if (texto.at(i) == u',') {
      ++i;
      continue;
    }
    if (texto.mid(i, 2) != QLatin1String("\r\n")) return {};
    i += 2;
    registros << registro;
    registro.clear();
  }
  return registros;
}

// Text exposition format: "# HELP"/"# TYPE" lines and samples
// name{label="value",...} number. Gives the samples by their full series
// text; any line that does not parse, or a series seen twice, gives none.
inline QHash<QString, double> LerPrometheus(const QByteArray& bytes) {
  static const QRegularExpression amostra(QStringLiteral(
      R"(^([a-zA-Z_:][a-zA-Z0-9_:]*(?:\{[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\[\\"n])*")"
      R"((?:,[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\[\\"n])*")*\})?) (-?[0-9]+(?:\.[0-9]+)?(?:e[+-]?[0-9]+)?)$)"));
  static const QRegularExpression comentario(QStringLiteral(R"(^# (HELP|TYPE) [a-zA-Z_:][a-zA-Z0-9_:]* .+$)"));
  QHash<QString, double> amostras;
  if (!bytes.endsWith('\n')) return {};
  for (const QString& linha : QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts)) {
    if (comentario.match(linha).hasMatch()) continue;
    const auto m = amostra.match(linha);
    if (!m.hasMatch() || amostras.contains(m.captured(1))) return {};
    amostras.insert(m.captured(1), m.captured(2).toDouble());
  }
  return amostras;
}

}  // namespace SaidaStatusLeitura
