#include "platform/ApartamentoCom.h"

#ifdef _WIN32
#include <objbase.h>
#endif

ApartamentoCom::ApartamentoCom() {
#ifdef _WIN32
  CoInitialize(nullptr);
#endif
}

ApartamentoCom::~ApartamentoCom() {
#ifdef _WIN32
  CoUninitialize();
#endif
}
