#pragma once

#include <cstdint>
#include <string>

#include "usage/TRESTRequestDTO.h"
#include "usage/TRESTResponseDTO.h"

// What the test transport library saw of the last "Request" call, read by
// the tests after TransporteTeste_Aguardar has seen the call end.
struct RegistroTransporte {
  int Chamadas = 0;
  // The request exactly as it arrived on the stack: record and two bytes.
  unsigned char Argumento[sizeof(TRESTRequestDTO) + 2] = {};
  // The response record as the caller handed it over.
  unsigned char RespostaNaEntrada[sizeof(TRESTResponseDTO)] = {};
  // Per text field, in record order (BaseUrl, Route, AuxText1, AuxText2,
  // UserAgent, Body): the length prefix in bytes and the units.
  std::uint32_t Prefixos[6] = {};
  std::u16string Textos[6];
  // The Content the library allocated for the caller.
  BSTR ConteudoEntregue = nullptr;
};

extern "C" {
RegistroTransporte* TransporteTeste_Registro();
// Waits until that many calls have ended (or a generous bound passed, so a
// broken program fails its test instead of hanging); returns the calls seen.
int TransporteTeste_Aguardar(int chamadas);
void TransporteTeste_Limpar();
// While held, "Request" waits inside the call until released.
void TransporteTeste_Reter(bool reter);
// Waits until a call is inside "Request" (same bound); returns how many are.
int TransporteTeste_AguardarEntrada();
}
