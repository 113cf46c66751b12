#pragma once

#include <QList>
#include <QString>
#include <Qt>

#include "panel/LinhaStatus.h"

// One column of the status grid: title, field, width in pixels (0: the
// grid's default), alignment, and whether its cells use the grid's own,
// larger font instead of the cells' font. The command line's table prints
// the same columns.
struct ColunaGrid {
  QString Titulo;
  CampoStatus Campo;
  int Largura;
  Qt::Alignment Alinhamento;
  bool FonteDaGrade;

  // The columns in the grid's order.
  static const QList<ColunaGrid>& Todas();
  // Index of the column of a field; -1 when the grid does not show it.
  static int IndiceDe(CampoStatus campo);

  // "Maq. ECF": hidden unless the database asks for it.
  static constexpr int kMaquinaEcf = 1;
};
