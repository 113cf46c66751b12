#include "app/DecodificacaoCredencial.h"

#include "platform/Windows1252.h"

namespace DecodificacaoCredencial {

namespace {
constexpr char kAlfabeto[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kChave[] = "QOMRIV";
}  // namespace

int AlphabetIndex(char c) {
  for (int i = 0; i < 36; ++i)
    if (kAlfabeto[i] == c) return i;
  return 0;
}

quint8 DecodePair(const QByteArray& par, quint16 estado) {
  if (par.size() < 2) return 0;
  const int k = (estado >> 8) % 19;
  const unsigned baixo = unsigned(AlphabetIndex(par[0]) - k) & 0xFFu;
  const unsigned alto = unsigned(AlphabetIndex(par[1]) - k) & 0x0Fu;
  return quint8(((baixo + 16u * alto) & 0xFFu) ^ (estado & 0xFFu));
}

quint16 AdvanceState(quint16 estado, int n) {
  // Pair numbers start at 1; a negative one still picks a key character.
  const unsigned caractere = static_cast<unsigned char>(kChave[((n % 6) + 6) % 6]);
  return quint16(((caractere + estado) * 17u) % 0x4321u);
}

QByteArray DecodeConfigText(const QByteArray& codificado) {
  QByteArray plano;
  plano.reserve(codificado.size() / 2 + 1);
  quint16 estado = 0;
  int n = 1;
  for (qsizetype i = 0; i < codificado.size(); i += 2, ++n) {
    const quint8 b = DecodePair(codificado.mid(i, 2), estado);
    plano.append(char(b));
    estado ^= b;
    estado = AdvanceState(estado, n);
  }
  const qsizetype zero = plano.indexOf('\0');
  if (zero >= 0) plano.truncate(zero);
  return plano;
}

QString DecodeConfigText(const QString& codificado) {
  return Windows1252::paraUnicode(DecodeConfigText(Windows1252::deUnicode(codificado)));
}

}  // namespace DecodificacaoCredencial
