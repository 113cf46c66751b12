#include "usage/ParametrosAnalytics.h"

#include <mutex>

namespace {

// Never destroyed: a report thread may read them while the process exits.
struct Parametros {
  std::mutex Trava;
  QString URLBase;
  QString TextoAuxiliar;
};

Parametros& Global() {
  static Parametros* parametros = new Parametros;
  return *parametros;
}

}  // namespace

QString URLBaseAnalytics() {
  std::lock_guard trava(Global().Trava);
  return Global().URLBase;
}

QString TextoAuxiliarAnalytics() {
  std::lock_guard trava(Global().Trava);
  return Global().TextoAuxiliar;
}

void DefinirURLBaseAnalytics(const QString& url) {
  std::lock_guard trava(Global().Trava);
  Global().URLBase = url;
}

void DefinirTextoAuxiliarAnalytics(const QString& texto) {
  std::lock_guard trava(Global().Trava);
  Global().TextoAuxiliar = texto;
}
