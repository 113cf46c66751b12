#pragma once

#include <QString>

class ConexaoBanco;

// Sends every queue entry that ended in error back to pending, for every
// branch and machine, after the operator confirms. The single update is
// committed by the connection on its own: it changes all such entries or,
// when it fails, none. Every failure is answered here with a warning; none
// goes further.
//
// Threads: the user-interface thread only.
class ReprocessamentoErros {
 public:
  static const QString kConfirmacao;
  static const QString kSucesso;
  static const QString kPrefixoFalha;

  // True when the entries were updated.
  static bool Executar(ConexaoBanco& conexao);
};
