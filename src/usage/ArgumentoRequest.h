#pragma once

#include <cstdint>

#include "usage/TRESTRequestDTO.h"
#include "usage/TRESTResponseDTO.h"

#if defined(_WIN32) && !defined(_WIN64)
#define VELMORA_REST_CDECL __cdecl
#else
#define VELMORA_REST_CDECL
#endif

// The request as the transport library's "Request" receives it on the stack:
// the record followed by two zero bytes. Kept apart from the binding, without
// Qt, so that a stand-in library defines "Request" with exactly the type the
// binding calls it through.
#pragma pack(push, 1)
struct ArgumentoRequest {
  TRESTRequestDTO Request;
  std::uint8_t Complemento[2];
};
#pragma pack(pop)
static_assert(sizeof(ArgumentoRequest) == sizeof(TRESTRequestDTO) + 2);

// "Request": C calling convention, the response address first, then the
// request by value. Whatever it returns is not used.
using FuncaoRequest = void(VELMORA_REST_CDECL*)(TRESTResponseDTO* response, ArgumentoRequest request);
