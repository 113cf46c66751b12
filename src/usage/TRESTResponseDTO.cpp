#include "usage/TRESTResponseDTO.h"

#include <cstring>

#include "platform/TextoOle.h"

void TRESTResponseDTO::Copiar(const TRESTResponseDTO& origem, TRESTResponseDTO& destino) {
  BSTR copia = TextoOle::Copiar(origem.Content);
  std::uint8_t fixo[sizeof origem.FixedPart];
  std::memcpy(fixo, origem.FixedPart, sizeof fixo);
  Finalizar(destino);
  std::memcpy(destino.FixedPart, fixo, sizeof fixo);
  destino.Content = copia;
}

void TRESTResponseDTO::Finalizar(TRESTResponseDTO& registro) {
  SysFreeString(registro.Content);
  registro.Content = nullptr;
}
