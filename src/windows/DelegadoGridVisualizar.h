#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Paints each cell of the error grid the usual way, hands it to the window's
// own drawing, which may paint over it (the tick of "Conferido?"), and draws
// the line under the row.
//
// Threads: the user-interface thread only.
class DelegadoGridVisualizar : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using Desenho = std::function<void(QPainter*, const QStyleOptionViewItem&, const QModelIndex&)>;

  explicit DelegadoGridVisualizar(Desenho desenho, QObject* dono = nullptr);

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;

 private:
  Desenho FDesenho;
};
