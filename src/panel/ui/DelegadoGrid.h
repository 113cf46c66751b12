#pragma once

#include <QFont>
#include <QStyledItemDelegate>

// Draws the cells of the status grid: the cells' own font (the grid's larger
// font only where the column asks for it) and a line under each row, none
// between columns.
class DelegadoGrid : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit DelegadoGrid(const QFont& fonteCelulas, QObject* dono = nullptr);

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override;

 private:
  QFont FFonteCelulas;
};
