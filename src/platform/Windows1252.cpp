#include "platform/Windows1252.h"

#include <array>

namespace {

// Bytes 0x80 to 0x9F: where Windows-1252 departs from Latin-1. Zero marks the
// five bytes the code page leaves undefined; they map to the C1 control of
// the same value, as Windows itself does.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char paraByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kAlto.size(); ++i)
    if (kAlto[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

namespace Windows1252 {

QString paraUnicode(const char* dados, qsizetype tamanho) {
  QString texto(tamanho, Qt::Uninitialized);
  QChar* saida = texto.data();
  for (qsizetype i = 0; i < tamanho; ++i) {
    const auto b = static_cast<unsigned char>(dados[i]);
    saida[i] = (b >= 0x80 && b < 0xA0) ? QChar(kAlto[b - 0x80]) : QChar(b);
  }
  return texto;
}

QString paraUnicode(const QByteArray& dados) { return paraUnicode(dados.constData(), dados.size()); }

QByteArray deUnicode(const QString& texto) {
  QByteArray bytes(texto.size(), Qt::Uninitialized);
  char* saida = bytes.data();
  for (qsizetype i = 0; i < texto.size(); ++i) saida[i] = paraByte(texto.at(i).unicode());
  return bytes;
}

}  // namespace Windows1252
