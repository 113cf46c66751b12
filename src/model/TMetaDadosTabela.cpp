#include "model/TMetaDadosTabela.h"

// Values only, at both levels: the inner lists first, then the outer one.
TMetaDadosTabela::~TMetaDadosTabela() {
  for (auto& campos : FColecaoMetadadosCampos) campos.clear();
  FColecaoMetadadosCampos.clear();
}
