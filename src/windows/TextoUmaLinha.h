#pragma once

#include <QString>

// A cell's text on its one line: every CR and LF becomes a blank, as the
// grids show texts that hold line breaks.
inline QString TextoUmaLinha(QString texto) {
  texto.replace(u'\r', u' ').replace(u'\n', u' ');
  return texto;
}
