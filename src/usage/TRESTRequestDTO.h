#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/OleString.h"

// The request record handed to the REST transport library exactly as it lies
// in memory: packed, no gaps, little-endian, every text an OLE string (null
// for the empty text). The fields' order and sizes are the library's
// contract; a field is the width of a pointer, so the record is 26 bytes in a
// 32-bit build and 50 in a 64-bit one.
//
// A record owns its texts. Copying it means Copiar (texts copied anew);
// Finalizar frees the texts. Plain assignment copies only the pointers and is
// used where the record is lent, never kept.
#pragma pack(push, 1)
struct TRESTRequestDTO {
  std::uint8_t RequestType = 0;  // 0: no type given, refused
  std::uint8_t BodyKind = 0;     // 0: no body
  BSTR BaseUrl = nullptr;
  BSTR Route = nullptr;
  BSTR AuxText1 = nullptr;  // passed on unchanged; nothing sets it
  BSTR AuxText2 = nullptr;
  BSTR UserAgent = nullptr;
  BSTR Body = nullptr;

  // `destino` gets `origem`'s values with its texts copied anew; its former
  // texts are freed. `destino` is untouched when a copy cannot be made.
  static void Copiar(const TRESTRequestDTO& origem, TRESTRequestDTO& destino);
  // Frees the texts and leaves them null; the two bytes stay.
  static void Finalizar(TRESTRequestDTO& registro);
};
#pragma pack(pop)

// The body kind SetBody gives a request.
inline constexpr std::uint8_t kBodyKindCorpo = 2;

namespace LayoutRequisicao {
inline constexpr std::size_t kTexto = sizeof(void*);
static_assert(sizeof(BSTR) == kTexto);
static_assert(offsetof(TRESTRequestDTO, RequestType) == 0);
static_assert(offsetof(TRESTRequestDTO, BodyKind) == 1);
static_assert(offsetof(TRESTRequestDTO, BaseUrl) == 2);
static_assert(offsetof(TRESTRequestDTO, Route) == 2 + kTexto);
static_assert(offsetof(TRESTRequestDTO, AuxText1) == 2 + 2 * kTexto);
static_assert(offsetof(TRESTRequestDTO, AuxText2) == 2 + 3 * kTexto);
static_assert(offsetof(TRESTRequestDTO, UserAgent) == 2 + 4 * kTexto);
static_assert(offsetof(TRESTRequestDTO, Body) == 2 + 5 * kTexto);
static_assert(sizeof(TRESTRequestDTO) == 2 + 6 * kTexto);
static_assert(kTexto != 4 || sizeof(TRESTRequestDTO) == 26);
}  // namespace LayoutRequisicao
