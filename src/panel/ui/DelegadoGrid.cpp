#include "panel/ui/DelegadoGrid.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "panel/ColunaGrid.h"
#include "panel/LinhaStatus.h"

DelegadoGrid::DelegadoGrid(const QFont& fonteCelulas, QObject* dono)
    : QStyledItemDelegate(dono), FFonteCelulas(fonteCelulas) {}

void DelegadoGrid::initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const {
  QStyledItemDelegate::initStyleOption(opcao, indice);
  const auto& colunas = ColunaGrid::Todas();
  if (indice.column() >= 0 && indice.column() < colunas.size() && !colunas[indice.column()].FonteDaGrade)
    opcao->font = FFonteCelulas;
  if (Destacada(indice)) {
    opcao->backgroundBrush = CorDestaque();
    // The selected cell of such a row keeps the highlight too; only its
    // text keeps the selection's colour.
    opcao->palette.setColor(QPalette::Highlight, CorDestaque());
  }
}

bool DelegadoGrid::Destacada(const QModelIndex& indice) {
  static const int kErro = ColunaGrid::IndiceDe(CampoStatus::STATUSERRO);
  return indice.isValid() && indice.siblingAtColumn(kErro).data().toString() == QStringLiteral("Sim");
}

void DelegadoGrid::paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const {
  QStyledItemDelegate::paint(pintor, opcao, indice);
  const QStyle* estilo = opcao.widget ? opcao.widget->style() : QApplication::style();
  const QColor cor = QColor::fromRgba(
      static_cast<QRgb>(estilo->styleHint(QStyle::SH_Table_GridLineColor, &opcao, opcao.widget)));
  pintor->save();
  pintor->setPen(cor.isValid() ? cor : opcao.palette.color(QPalette::Mid));
  pintor->drawLine(opcao.rect.bottomLeft(), opcao.rect.bottomRight());
  pintor->restore();
}
