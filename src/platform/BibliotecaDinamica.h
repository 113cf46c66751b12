#pragma once

#include <QString>

// Loading a shared library at run time and finding its entry points by name.
// Libraries loaded here are never unloaded.
//
// Threads: any thread.
class BibliotecaDinamica {
 public:
  using Modulo = void*;

  // The platform's file name for a library's base name: "VelmoraREST" is
  // "VelmoraREST.dll" on Windows and "libVelmoraREST.so" elsewhere.
  static QString NomeArquivo(const QString& nomeBase);

  // A bare file name is looked for first in the executable's folder and then
  // in the platform's search order; a name with a folder is loaded from
  // there. Null when the library cannot be loaded.
  static Modulo Carregar(const QString& arquivo);

  // The entry point of that exact, case-sensitive name; null when missing.
  static void* Procurar(Modulo modulo, const char* nome);
};
