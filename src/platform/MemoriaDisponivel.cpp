#include "platform/MemoriaDisponivel.h"

#include <algorithm>
#include <limits>

#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#else
#include <sys/resource.h>

#include <fstream>
#include <string>
#endif

namespace MemoriaDisponivel {

#ifdef _WIN32

qint64 Bytes() {
  MEMORYSTATUSEX estado{};
  estado.dwLength = sizeof(estado);
  if (!GlobalMemoryStatusEx(&estado)) return std::numeric_limits<qint64>::max();
  // What may still be committed, within what the address space has left.
  return static_cast<qint64>(std::min(estado.ullAvailPageFile, estado.ullAvailVirtual));
}

#else

namespace {

constexpr qint64 kSemLimite = std::numeric_limits<qint64>::max();

// The number after "chave:" in a file of lines such as /proc/meminfo, in kB;
// -1 when it is not there.
qint64 ValorKb(const char* arquivo, const std::string& chave) {
  std::ifstream entrada(arquivo);
  std::string linha;
  while (std::getline(entrada, linha)) {
    if (linha.compare(0, chave.size(), chave) != 0 || linha.size() <= chave.size() || linha[chave.size()] != ':')
      continue;
    try {
      return std::stoll(linha.substr(chave.size() + 1));
    } catch (...) {
      return -1;
    }
  }
  return -1;
}

// A file that holds one number of bytes; -1 when absent or "max".
qint64 Numero(const std::string& arquivo) {
  std::ifstream entrada(arquivo);
  std::string texto;
  if (!(entrada >> texto)) return -1;
  try {
    return std::stoll(texto);
  } catch (...) {
    return -1;
  }
}

qint64 Sistema() {
  const qint64 disponivel = ValorKb("/proc/meminfo", "MemAvailable");
  if (disponivel < 0) return kSemLimite;
  return (disponivel + std::max<qint64>(0, ValorKb("/proc/meminfo", "SwapFree"))) * 1024;
}

// A container's memory limit (cgroup v2): MemAvailable shows the host's.
qint64 Grupo() {
  std::ifstream grupos("/proc/self/cgroup");
  std::string linha;
  while (std::getline(grupos, linha)) {
    if (linha.rfind("0::", 0) != 0) continue;
    const std::string pasta = "/sys/fs/cgroup" + linha.substr(3);
    const qint64 maximo = Numero(pasta + "/memory.max");
    const qint64 atual = Numero(pasta + "/memory.current");
    if (maximo < 0 || atual < 0) return kSemLimite;
    return std::max<qint64>(0, maximo - atual);
  }
  return kSemLimite;
}

// Room left under one resource limit, given what the process uses of it.
qint64 Folga(int recurso, const std::string& chaveUso) {
  rlimit limite{};
  if (getrlimit(recurso, &limite) != 0 || limite.rlim_cur == RLIM_INFINITY) return kSemLimite;
  const qint64 uso = ValorKb("/proc/self/status", chaveUso);
  if (uso < 0) return kSemLimite;
  return std::max<qint64>(0, static_cast<qint64>(limite.rlim_cur) - uso * 1024);
}

}  // namespace

qint64 Bytes() {
  return std::min({Sistema(), Grupo(), Folga(RLIMIT_AS, "VmSize"), Folga(RLIMIT_DATA, "VmData")});
}

#endif

}  // namespace MemoriaDisponivel
