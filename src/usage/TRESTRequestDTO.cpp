#include "usage/TRESTRequestDTO.h"

#include <array>

#include "platform/TextoOle.h"

namespace {

constexpr std::array<BSTR TRESTRequestDTO::*, 6> kTextos = {
    &TRESTRequestDTO::BaseUrl,  &TRESTRequestDTO::Route,     &TRESTRequestDTO::AuxText1,
    &TRESTRequestDTO::AuxText2, &TRESTRequestDTO::UserAgent, &TRESTRequestDTO::Body};

}  // namespace

void TRESTRequestDTO::Copiar(const TRESTRequestDTO& origem, TRESTRequestDTO& destino) {
  // Every copy is made before anything of `destino` is freed: a failed
  // allocation leaves it whole, and copying a record onto itself works.
  std::array<BSTR, kTextos.size()> copias{};
  try {
    for (std::size_t i = 0; i < kTextos.size(); ++i) copias[i] = TextoOle::Copiar(origem.*kTextos[i]);
  } catch (...) {
    for (BSTR copia : copias) SysFreeString(copia);
    throw;
  }
  const std::uint8_t tipo = origem.RequestType;
  const std::uint8_t corpo = origem.BodyKind;
  Finalizar(destino);
  destino.RequestType = tipo;
  destino.BodyKind = corpo;
  for (std::size_t i = 0; i < kTextos.size(); ++i) destino.*kTextos[i] = copias[i];
}

void TRESTRequestDTO::Finalizar(TRESTRequestDTO& registro) {
  for (auto campo : kTextos) {
    SysFreeString(registro.*campo);
    registro.*campo = nullptr;
  }
}
