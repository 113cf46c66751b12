#include "windows/DelegadoGridVisualizar.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

DelegadoGridVisualizar::DelegadoGridVisualizar(Desenho desenho, QObject* dono)
    : QStyledItemDelegate(dono), FDesenho(std::move(desenho)) {}

void DelegadoGridVisualizar::paint(QPainter* pintor, const QStyleOptionViewItem& opcao,
                                   const QModelIndex& indice) const {
  QStyledItemDelegate::paint(pintor, opcao, indice);
  if (FDesenho) {
    // The window draws inside the cell; the row line below it stays.
    QStyleOptionViewItem celula(opcao);
    initStyleOption(&celula, indice);
    celula.rect.adjust(0, 0, 0, -1);
    pintor->save();
    FDesenho(pintor, celula, indice);
    pintor->restore();
  }
  const QStyle* estilo = opcao.widget ? opcao.widget->style() : QApplication::style();
  const QColor cor = QColor::fromRgba(
      static_cast<QRgb>(estilo->styleHint(QStyle::SH_Table_GridLineColor, &opcao, opcao.widget)));
  pintor->save();
  pintor->setPen(cor.isValid() ? cor : opcao.palette.color(QPalette::Mid));
  pintor->drawLine(opcao.rect.bottomLeft(), opcao.rect.bottomRight());
  pintor->restore();
}
