#include "model/TEstruturaTabela.h"

// The arrays hold values only: emptying them is all there is to free.
TEstruturaTabela::~TEstruturaTabela() {
  FCamposTabela.clear();
  FTiposCampoTabela.clear();
}
