#include "platform/ValorCampo.h"

#include "platform/ConversaoInteiro.h"
#include "platform/Falha.h"

QString ValorCampo::AsString() const {
  struct Visitante {
    QString operator()(std::monostate) const { return {}; }
    QString operator()(const QString& t) const { return t; }
    QString operator()(qint64 v) const { return QString::number(v); }
    QString operator()(double v) const { return QString::number(v, 'g', 15); }
    QString operator()(const QDateTime& d) const {
      if (d.time() == QTime(0, 0)) return d.toString(QStringLiteral("dd/MM/yyyy"));
      return d.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    }
  };
  return std::visit(Visitante{}, FValor);
}

qint64 ValorCampo::AsInteger() const {
  if (const auto* v = std::get_if<qint64>(&FValor)) return *v;
  if (const auto* v = std::get_if<double>(&FValor)) return static_cast<qint64>(*v);
  if (const auto* t = std::get_if<QString>(&FValor)) return ConversaoInteiro::StrToInt(*t);
  if (EhNulo()) return 0;
  throw Falha(QStringLiteral("Valor de data não pode ser lido como inteiro."));
}

double ValorCampo::AsFloat() const {
  if (const auto* v = std::get_if<double>(&FValor)) return *v;
  if (const auto* v = std::get_if<qint64>(&FValor)) return static_cast<double>(*v);
  if (const auto* t = std::get_if<QString>(&FValor)) {
    bool ok = false;
    const double v = t->trimmed().toDouble(&ok);
    if (!ok) throw Falha(QStringLiteral("'%1' is not a valid floating point value").arg(*t));
    return v;
  }
  return 0.0;
}

QDateTime ValorCampo::AsDateTime() const {
  if (const auto* d = std::get_if<QDateTime>(&FValor)) return *d;
  return {};
}
