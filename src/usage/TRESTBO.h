#pragma once

#include <QString>
#include <cstdint>

#include "usage/ArgumentoRequest.h"
#include "usage/TRESTRequestDTO.h"
#include "usage/TRESTResponseDTO.h"

// The binding to the maker's REST transport library, "VelmoraREST.dll"
// ("libVelmoraREST.so" off Windows). One instance per process, created with
// the first Send, which loads the library; a load that fails keeps nothing,
// so the next Send tries again. The library is never unloaded and the
// instance never freed.
//
// Threads: Send may be called from several threads at once; the one-time
// creation is guarded and the call into the library takes no lock.
class TRESTBO {
 public:
  // Hands a copy of the request (texts copied anew) to the library, which
  // fills `response`; the copy is freed afterwards, also on failure. Raises
  // "Erro ao carregar a biblioteca VelmoraREST.dll." when the library cannot
  // be loaded, and a failure of its own when it has no "Request".
  static void Send(const TRESTRequestDTO& request, TRESTResponseDTO& response);

  // For the tests only: load the library from this file instead of the
  // platform's name for "VelmoraREST" (empty: back to that name). The kept
  // instance is forgotten, never freed: a Send under way keeps using it.
  static void SetCaminhoBiblioteca(const QString& caminho);
  // Whether an instance is kept (the library was loaded).
  static bool Carregado();

 private:
  explicit TRESTBO(const QString& arquivo);
  static TRESTBO& Instancia();
  void Load(const QString& arquivo);

  void* FModule = nullptr;
  FuncaoRequest FRequestEntry = nullptr;
  void* FHashEntry = nullptr;  // "GeraSHA256": kept, never called
};
