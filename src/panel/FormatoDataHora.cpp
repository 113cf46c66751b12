#include "panel/FormatoDataHora.h"

#include <QLocale>
#include <optional>

namespace {

std::optional<QString>& Formato() {
  static std::optional<QString> formato;
  return formato;
}

}  // namespace

QString FormatoDataHora::SemFusoHorario(const QString& formato) {
  QString resultado;
  bool citacao = false;
  for (qsizetype i = 0; i < formato.size(); ++i) {
    const QChar c = formato.at(i);
    if (c == u'\'') citacao = !citacao;
    if (!citacao && c == u't') continue;
    resultado += c;
  }
  return resultado.simplified();
}

QString FormatoDataHora::FormatoHora() {
  if (!Formato()) Formato() = SemFusoHorario(QLocale::system().timeFormat(QLocale::LongFormat));
  return *Formato();
}

void FormatoDataHora::DefinirFormatoHora(const QString& formato) { Formato() = formato; }

QString FormatoDataHora::Celula(const QDateTime& valor) {
  if (!valor.isValid()) return {};
  const QString data = valor.date().toString(QStringLiteral("dd/MM/yyyy"));
  if (valor.time() == QTime(0, 0)) return data;
  return data + u' ' + valor.time().toString(FormatoHora());
}

QString FormatoDataHora::Carimbo(const QDateTime& valor) {
  return valor.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString FormatoDataHora::Iso(const QDateTime& valor) {
  if (!valor.isValid()) return {};
  return valor.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}
