#include "model/TTabela.h"

// The arrays hold values only: emptying them is all there is to free.
TTabela::~TTabela() {
  FValorCampos.clear();
  FChavePrimaria.clear();
}
