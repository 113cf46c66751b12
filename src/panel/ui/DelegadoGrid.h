#pragma once

#include <QFont>
#include <QStyledItemDelegate>

// Draws the cells of the status grid: the cells' own font (the grid's larger
// font only where the column asks for it) and a line under each row, none
// between columns. Every cell of a row with unacknowledged errors ("Sim" in
// "Erro?") is drawn on the highlight colour, the selected cell included, so
// that the row reads as one at a glance.
class DelegadoGrid : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit DelegadoGrid(const QFont& fonteCelulas, QObject* dono = nullptr);

  // Orange: red 241, green 150, blue 14.
  static QColor CorDestaque() { return QColor(241, 150, 14); }
  // Whether the row of this cell has unacknowledged errors.
  static bool Destacada(const QModelIndex& indice);

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override;

 private:
  QFont FFonteCelulas;
};
