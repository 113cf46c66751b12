#include "platform/ApartamentoCom.h"

#ifdef _WIN32
#include <objbase.h>
#endif

ApartamentoCom::ApartamentoCom() {
#ifdef _WIN32
  // S_FALSE (already inside) also counts and must be balanced.
  FEntrou = SUCCEEDED(CoInitialize(nullptr));
#endif
}

ApartamentoCom::~ApartamentoCom() {
#ifdef _WIN32
  if (FEntrou) CoUninitialize();
#endif
}
