#include "platform/OleString.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {
// Trivially destructible: still valid while a report thread frees a string
// after the process began to exit.
std::atomic<long> gVivas{0};
}  // namespace

#ifndef _WIN32

namespace {

constexpr std::size_t kPrefixo = sizeof(std::uint32_t);

char* Bloco(BSTR texto) { return reinterpret_cast<char*>(texto) - kPrefixo; }

}  // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* origem, unsigned int tamanho) {
  const std::size_t bytes = std::size_t{tamanho} * sizeof(OLECHAR);
  if (bytes > 0xFFFFFFF0u) return nullptr;
  auto* bloco = static_cast<char*>(std::malloc(kPrefixo + bytes + sizeof(OLECHAR)));
  if (!bloco) return nullptr;
  const auto prefixo = static_cast<std::uint32_t>(bytes);
  std::memcpy(bloco, &prefixo, kPrefixo);
  auto* texto = reinterpret_cast<BSTR>(bloco + kPrefixo);
  if (origem)
    std::memcpy(texto, origem, bytes);
  else
    std::memset(texto, 0, bytes);
  texto[tamanho] = 0;
  gVivas.fetch_add(1, std::memory_order_relaxed);
  return texto;
}

int SysReAllocStringLen(BSTR* texto, const OLECHAR* origem, unsigned int tamanho) {
  if (!texto) return 0;
  // The source may lie inside the old string: copy before freeing it.
  BSTR novo = SysAllocStringLen(origem, tamanho);
  if (!novo) return 0;
  SysFreeString(*texto);
  *texto = novo;
  return 1;
}

void SysFreeString(BSTR texto) {
  if (!texto) return;
  std::free(Bloco(texto));
  gVivas.fetch_sub(1, std::memory_order_relaxed);
}

unsigned int SysStringByteLen(BSTR texto) {
  if (!texto) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, Bloco(texto), kPrefixo);
  return bytes;
}

unsigned int SysStringLen(BSTR texto) { return SysStringByteLen(texto) / sizeof(OLECHAR); }

}  // extern "C"

#endif

namespace OleString {

long Vivas() { return gVivas.load(std::memory_order_relaxed); }

}  // namespace OleString
