#pragma once

#include <QList>

#include "panel/LinhaStatus.h"

// The sort order of the status rows chosen by a click on a column title:
// the fields compared, in turn, always ascending. Texts compare as texts
// (so "15" comes before "5"), dates by time, counts by value; an empty
// text or an absent date comes first.
//
// Threads: any; it holds no state.
class OrdemStatus {
 public:
  // The fields a click on the title of a column showing this field sorts
  // by: "Filial" by branch code and then machine; any other by its own field
  // and then branch code.
  static QList<CampoStatus> ChavesDoTitulo(CampoStatus campoDaColuna);

  // Negative, zero or positive as the first row goes before, with or after
  // the second by these fields.
  static int Comparar(const LinhaStatus& a, const LinhaStatus& b, const QList<CampoStatus>& chaves);
  static int CompararCampo(const LinhaStatus& a, const LinhaStatus& b, CampoStatus campo);
};
