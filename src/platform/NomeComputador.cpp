#include "platform/NomeComputador.h"

#include "platform/Windows1252.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstring>

namespace NomeComputador {

QString Obter() {
  constexpr int kMaximo = 15;
#ifdef _WIN32
  char nome[kMaximo + 1] = {};
  DWORD tamanho = sizeof nome;
  if (!GetComputerNameA(nome, &tamanho)) return {};
#else
  // gethostname does not promise a terminating NUL when it has to cut the
  // name, so ask with room to spare and cut here.
  char nome[256] = {};
  if (gethostname(nome, sizeof nome - 1) != 0) return {};
#endif
  return Windows1252::paraUnicode(nome, static_cast<qsizetype>(strnlen(nome, kMaximo)));
}

}  // namespace NomeComputador
