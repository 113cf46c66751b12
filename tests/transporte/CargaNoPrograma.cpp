// Preloaded into a program (LD_PRELOAD), before its main: loads the test
// transport library named by PAINEL_TRANSPORTE_CARGA the way the binding
// does (now, locally), calls its "Request" with a route allocated through the
// program's OLE string allocator, frees the content the library allocated,
// and tells on standard error what the library recorded. A program that does
// not export the allocator cannot load the library: the line says why.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "RegistroTransporte.h"
#include "usage/ArgumentoRequest.h"

namespace {

__attribute__((constructor)) void CarregarTransporte() {
  const char* arquivo = std::getenv("PAINEL_TRANSPORTE_CARGA");
  if (!arquivo) return;
  void* modulo = dlopen(arquivo, RTLD_NOW | RTLD_LOCAL);
  if (!modulo) {
    std::fprintf(stderr, "carga: %s\n", dlerror());
    return;
  }
  auto request = reinterpret_cast<FuncaoRequest>(dlsym(modulo, "Request"));
  auto registro = reinterpret_cast<RegistroTransporte* (*)()>(dlsym(modulo, "TransporteTeste_Registro"));
  // From the program, as the library took them.
  auto alocar = reinterpret_cast<BSTR (*)(const OLECHAR*, unsigned)>(dlsym(RTLD_DEFAULT, "SysAllocStringLen"));
  auto liberar = reinterpret_cast<void (*)(BSTR)>(dlsym(RTLD_DEFAULT, "SysFreeString"));
  if (!request || !registro || !alocar || !liberar) {
    std::fprintf(stderr, "carga: faltam funções\n");
    return;
  }
  ArgumentoRequest argumento{};
  argumento.Request.RequestType = 2;
  argumento.Request.Route = alocar(u"/rotina", 7);
  TRESTResponseDTO resposta;
  request(&resposta, argumento);
  const RegistroTransporte& visto = *registro();
  std::fprintf(stderr, "carga: %d chamada(s), rota de %u bytes, conteúdo de %u bytes\n", visto.Chamadas,
               visto.Prefixos[1], resposta.Content ? *reinterpret_cast<const unsigned*>(
                                                         reinterpret_cast<const char*>(resposta.Content) - 4)
                                                   : 0u);
  liberar(resposta.Content);
  liberar(argumento.Request.Route);
}

}  // namespace
