#pragma once

// The inverse of the credential decoding, for the tools and the tests that
// write "Caminho.ini". It is not part of the program, which only decodes.

#include <QByteArray>

#include "app/DecodificacaoCredencial.h"

namespace CodificacaoCredencial {

// Every byte is reachable: the wanted byte t, shifted by 17k, is written as
// the low nibble in the first character and the high nibble in the second,
// both below 16 and so inside the alphabet.
inline QByteArray Codificar(const QByteArray& plano) {
  static const char alfabeto[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  QByteArray codificado;
  quint16 estado = 0;
  int n = 1;
  for (const char c : plano) {
    const unsigned b = static_cast<unsigned char>(c);
    const unsigned k = (estado >> 8) % 19;
    const unsigned alvo = ((b ^ (estado & 0xFFu)) + 17u * k) & 0xFFu;
    codificado.append(alfabeto[alvo & 0x0F]);
    codificado.append(alfabeto[alvo >> 4]);
    estado ^= quint16(b);
    estado = DecodificacaoCredencial::AdvanceState(estado, n++);
  }
  return codificado;
}

}  // namespace CodificacaoCredencial
