#include "panel/ui/EstiloGrid.h"

#include <QHeaderView>
#include <QTableView>

#include "panel/ColunaGrid.h"
#include "panel/TabelaStatus.h"
#include "panel/ui/DelegadoGrid.h"

namespace {

QFont Fonte(int pontos, bool negrito = false) {
  QFont fonte(QStringLiteral("MS Sans Serif"), pontos);
  fonte.setBold(negrito);
  return fonte;
}

}  // namespace

namespace EstiloGrid {

void Aplicar(QTableView* grid, TabelaStatus* tabela) {
  grid->setModel(tabela);
  grid->setFont(Fonte(10));
  grid->setItemDelegate(new DelegadoGrid(Fonte(8), grid));
  grid->setFocusPolicy(Qt::ClickFocus);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setShowGrid(false);
  grid->setWordWrap(false);
  grid->setCornerButtonEnabled(false);

  QHeaderView* linhas = grid->verticalHeader();
  linhas->hide();
  linhas->setSectionResizeMode(QHeaderView::Fixed);
  linhas->setDefaultSectionSize(QFontMetrics(grid->font()).height() + 4);

  QHeaderView* titulos = grid->horizontalHeader();
  titulos->setFont(Fonte(8, true));
  titulos->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  titulos->setHighlightSections(false);
  titulos->setSectionsClickable(true);
  titulos->setStretchLastSection(false);

  const auto& colunas = ColunaGrid::Todas();
  for (int i = 0; i < colunas.size(); ++i)
    grid->setColumnWidth(i, colunas[i].Largura > 0 ? colunas[i].Largura : titulos->defaultSectionSize());
  grid->setColumnHidden(ColunaGrid::kMaquinaEcf, true);
}

}  // namespace EstiloGrid
