#include "usage/TRESTRequestDTO.h"

#include <array>

#include "platform/TextoOle.h"

namespace {

// The fields are read and written by name only: they are unaligned, and
// the compiler knows that only when it sees the packed record itself.
using Textos = std::array<BSTR, 6>;

Textos Ler(const TRESTRequestDTO& registro) {
  return {registro.BaseUrl, registro.Route, registro.AuxText1, registro.AuxText2, registro.UserAgent, registro.Body};
}

void Gravar(TRESTRequestDTO& registro, const Textos& textos) {
  registro.BaseUrl = textos[0];
  registro.Route = textos[1];
  registro.AuxText1 = textos[2];
  registro.AuxText2 = textos[3];
  registro.UserAgent = textos[4];
  registro.Body = textos[5];
}

}  // namespace

void TRESTRequestDTO::Copiar(const TRESTRequestDTO& origem, TRESTRequestDTO& destino) {
  // Every copy is made before anything of `destino` is freed: a failed
  // allocation leaves it whole, and copying a record onto itself works.
  const Textos originais = Ler(origem);
  Textos copias{};
  try {
    for (std::size_t i = 0; i < copias.size(); ++i) copias[i] = TextoOle::Copiar(originais[i]);
  } catch (...) {
    for (BSTR copia : copias) SysFreeString(copia);
    throw;
  }
  const std::uint8_t tipo = origem.RequestType;
  const std::uint8_t corpo = origem.BodyKind;
  Finalizar(destino);
  destino.RequestType = tipo;
  destino.BodyKind = corpo;
  Gravar(destino, copias);
}

void TRESTRequestDTO::Finalizar(TRESTRequestDTO& registro) {
  for (BSTR texto : Ler(registro)) SysFreeString(texto);
  Gravar(registro, Textos{});
}
