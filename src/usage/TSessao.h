#pragma once

#include <QString>

#include "usage/TFilial.h"

// The process-wide session: created by the first getInstancia and never
// freed. Nothing in the program logs a branch in, so getFilialLogada always
// fails here; the usage report depends on that to stay silent.
//
// Threads: the user-interface thread only.
class TSessao {
 public:
  static TSessao& getInstancia();

  // Raises "Filial Logada não definida." when no branch is logged.
  const TFilial& getFilialLogada() const;
  // The computer's name, looked up once and kept; an empty result is looked
  // up again on the next call.
  QString getNomeUsuario();

  // For the tests only: the session does not own the branch, which must
  // outlive its use (null: no logged branch).
  void SetFilialLogada(const TFilial* filial) { FFilialLogada = filial; }

 private:
  TSessao() = default;

  const TFilial* FFilialLogada = nullptr;
  QString FNomeUsuario;
};
