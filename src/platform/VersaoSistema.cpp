#include "platform/VersaoSistema.h"

namespace {
QString& Versao() {
  static QString versao;
  return versao;
}
}  // namespace

const QString& VersaoSistema() { return Versao(); }

void DefinirVersaoSistema(const QString& versao) { Versao() = versao; }
