#include "Credencial.h"

namespace {

constexpr char kAlfabeto[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kChave[] = "QOMRIV";

}  // namespace

// A pair (i1, i2) decodes to ((i1 + 16*i2 - 17k) mod 256) xor (state mod 256),
// k being the state's high byte mod 19. Undoing the xor and adding 17k back
// gives the wanted value t; i1 = t's low nibble and i2 = t's high nibble are
// both below 16 and so inside the alphabet: every byte is reachable from every
// state, and this is the one encoding with both digits in 0..F.
QString CodificarCredencial(const QByteArray& plano) {
  QString codificado;
  codificado.reserve(plano.size() * 2);
  unsigned estado = 0;
  unsigned n = 1;
  for (const char c : plano) {
    const unsigned b = static_cast<unsigned char>(c);
    const unsigned k = (estado >> 8) % 19u;
    const unsigned alvo = ((b ^ (estado & 0xFFu)) + 17u * k) & 0xFFu;
    codificado.append(QLatin1Char(kAlfabeto[alvo & 0x0Fu]));
    codificado.append(QLatin1Char(kAlfabeto[alvo >> 4]));
    estado ^= b;
    estado = ((static_cast<unsigned char>(kChave[n % 6]) + estado) * 17u) % 0x4321u;
    ++n;
  }
  return codificado;
}
