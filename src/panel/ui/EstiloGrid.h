#pragma once

class QTableView;
class TabelaStatus;

// Gives the status grid its columns and look: titles, widths, alignment,
// fonts, the hidden "Maq. ECF" column, read-only cells, one cell selected at
// a time, no row indicator, lines between rows only, focus by mouse only.
namespace EstiloGrid {

void Aplicar(QTableView* grid, TabelaStatus* tabela);

}  // namespace EstiloGrid
