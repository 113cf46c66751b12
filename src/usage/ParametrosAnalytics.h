#pragma once

#include <QString>

// The two process-wide settings of the usage report: the base URL it posts
// to and the text it passes on as AuxText2. Both are empty and nothing in
// the program assigns them, so a report never gets past validation.
//
// Threads: any thread; report threads read them. The setters are for the
// tests only.
QString URLBaseAnalytics();
QString TextoAuxiliarAnalytics();

void DefinirURLBaseAnalytics(const QString& url);
void DefinirTextoAuxiliarAnalytics(const QString& texto);
