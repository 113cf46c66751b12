#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/OleString.h"

// The response record the REST transport library fills: five bytes of its
// own, then the content as an OLE string that whoever holds the record owns
// and frees. Packed: 9 bytes in a 32-bit build, 13 in a 64-bit one.
#pragma pack(push, 1)
struct TRESTResponseDTO {
  std::uint8_t FixedPart[5] = {0, 0, 0, 0, 0};  // the library's; not interpreted here
  BSTR Content = nullptr;

  // `destino` gets `origem`'s bytes and a new copy of its content; its former
  // content is freed. `destino` is untouched when the copy cannot be made.
  static void Copiar(const TRESTResponseDTO& origem, TRESTResponseDTO& destino);
  // Frees the content and leaves it null.
  static void Finalizar(TRESTResponseDTO& registro);
};
#pragma pack(pop)

static_assert(offsetof(TRESTResponseDTO, FixedPart) == 0);
static_assert(offsetof(TRESTResponseDTO, Content) == 5);
static_assert(sizeof(TRESTResponseDTO) == 5 + sizeof(void*));
static_assert(sizeof(void*) != 4 || sizeof(TRESTResponseDTO) == 9);
