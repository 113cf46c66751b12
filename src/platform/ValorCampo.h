#pragma once

#include <QDateTime>
#include <QString>
#include <variant>

// One value read from the database. NULL is told apart from an empty text;
// CHAR values keep their trailing blanks; dialect-1 DATE values carry date
// and time.
class ValorCampo {
 public:
  ValorCampo() = default;
  static ValorCampo Texto(QString texto) { return ValorCampo(std::move(texto)); }
  static ValorCampo Inteiro(qint64 valor) { return ValorCampo(valor); }
  static ValorCampo Real(double valor) { return ValorCampo(valor); }
  static ValorCampo DataHora(QDateTime valor) { return ValorCampo(std::move(valor)); }

  bool EhNulo() const { return std::holds_alternative<std::monostate>(FValor); }
  bool EhTexto() const { return std::holds_alternative<QString>(FValor); }
  bool EhInteiro() const { return std::holds_alternative<qint64>(FValor); }
  bool EhDataHora() const { return std::holds_alternative<QDateTime>(FValor); }

  // NULL reads as "", 0 or an invalid date, as the platform's fields do.
  QString AsString() const;
  // Texts are converted by the platform's integer rules; a text that is not
  // an integer fails with "'%s' is not a valid integer value".
  qint64 AsInteger() const;
  double AsFloat() const;
  QDateTime AsDateTime() const;

  bool operator==(const ValorCampo& outro) const { return FValor == outro.FValor; }

 private:
  template <typename T>
  explicit ValorCampo(T valor) : FValor(std::move(valor)) {}

  std::variant<std::monostate, QString, qint64, double, QDateTime> FValor;
};
