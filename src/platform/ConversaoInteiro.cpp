#include "platform/ConversaoInteiro.h"

#include "platform/Falha.h"

namespace ConversaoInteiro {

std::optional<qint32> Converter(const QString& texto) {
  qsizetype i = 0;
  const qsizetype n = texto.size();
  while (i < n && texto.at(i) == u' ') ++i;
  bool negativo = false;
  if (i < n && (texto.at(i) == u'-' || texto.at(i) == u'+')) {
    negativo = texto.at(i) == u'-';
    ++i;
  }
  int base = 10;
  if (i < n && texto.at(i) == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && texto.at(i) == u'0' && (texto.at(i + 1) == u'x' || texto.at(i + 1) == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n) return std::nullopt;
  quint64 valor = 0;
  for (; i < n; ++i) {
    const char16_t c = texto.at(i).unicode();
    int digito = -1;
    if (c >= u'0' && c <= u'9') digito = c - u'0';
    else if (c >= u'a' && c <= u'f') digito = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') digito = c - u'A' + 10;
    if (digito < 0 || digito >= base) return std::nullopt;
    valor = valor * base + digito;
    if (valor > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 10) {
    if (negativo ? valor > 0x80000000ull : valor > 0x7FFFFFFFull) return std::nullopt;
    return negativo ? static_cast<qint32>(-static_cast<qint64>(valor)) : static_cast<qint32>(valor);
  }
  // Hexadecimal takes the full 32 bits, as the platform does ("$FFFFFFFF" is -1).
  const auto bits = static_cast<qint32>(static_cast<quint32>(valor));
  return negativo ? -bits : bits;
}

qint32 StrToInt(const QString& texto) {
  if (const auto valor = Converter(texto)) return *valor;
  throw Falha(QStringLiteral("'%1' is not a valid integer value").arg(texto));
}

}  // namespace ConversaoInteiro
