#include "model/TRetornoCliente.h"

#include <QSet>
#include <utility>

#include "model/TEstruturaTabela.h"
#include "model/TTabela.h"

// The tables first, in index order, then the structures, each slot emptied
// as it is freed. Empty slots are skipped, and an object that sits in more
// than one slot is freed once: a second delete would corrupt the heap.
TRetornoCliente::~TRetornoCliente() {
  QSet<const TRemotable*> liberados;
  const auto liberar = [&liberados](auto& lista) {
    for (auto& item : lista) {
      auto* objeto = std::exchange(item, nullptr);
      if (objeto == nullptr || liberados.contains(objeto)) continue;
      liberados.insert(objeto);
      delete objeto;
    }
    lista.clear();
  };
  liberar(FColecaoTabela);
  liberar(FColecaoEstrutura);
}
