#pragma once

#include <QString>

// The process-wide version tag: empty at process start, set once before the
// main window is created, shown in its caption and carried by the usage report.
const QString& VersaoSistema();
void DefinirVersaoSistema(const QString& versao);

// The tag of this build.
inline constexpr const char* kVersaoSistema = "v.29.07ad0";
