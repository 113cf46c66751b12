#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "panel/ColunaGrid.h"
#include "panel/LinhaStatus.h"

// The in-memory table of status rows (the main window's cdsFiliais), seen by
// the grid as one column per grid column. It carries no key and no index:
// rows stay in the order they were added. Each field is written as it is
// filled, so a refresh that stops half-way leaves exactly what it had stored.
//
// Threads: the user-interface thread only.
class TabelaStatus : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The raw value of a cell (text, integer or QDateTime), for sorting and
  // for readers that format it themselves.
  static constexpr int kValorRole = Qt::UserRole + 1;

  explicit TabelaStatus(QObject* dono = nullptr);

  void Esvaziar();
  // Adds an empty row at the end and gives its index.
  int Acrescentar();
  void SetTexto(int linha, CampoStatus campo, const QString& texto);
  void SetInteiro(int linha, CampoStatus campo, qint32 valor);
  void SetDataHora(int linha, CampoStatus campo, const QDateTime& valor);

  int QtdLinhas() const { return static_cast<int>(FLinhas.size()); }
  const LinhaStatus& Linha(int linha) const { return FLinhas.at(linha); }
  const std::vector<LinhaStatus>& Linhas() const { return FLinhas; }

  int rowCount(const QModelIndex& pai = QModelIndex()) const override;
  int columnCount(const QModelIndex& pai = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
  QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

  // What a cell shows: dates in the panel's format, counts in decimal.
  static QString TextoCelula(const LinhaStatus& linha, CampoStatus campo);

 private:
  void Alterado(int linha, CampoStatus campo);

  std::vector<LinhaStatus> FLinhas;
};
