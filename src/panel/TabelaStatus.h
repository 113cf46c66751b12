#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "panel/ColunaGrid.h"
#include "panel/HistoricoStatus.h"
#include "panel/LinhaStatus.h"

// The in-memory table of status rows (the main window's cdsFiliais), seen by
// the grid as one column per grid column. It carries no key. Rows are shown
// in the order they were added until a sort order is chosen; from then on
// every row takes its place by that order as it is added or changed, through
// every later refresh. Each field is written as it is filled, so a refresh
// that stops half-way leaves exactly what it had stored.
//
// Row numbers given to and returned by Acrescentar, the setters, Linha and
// Linhas are those of the order of adding; the grid's rows (the model's
// indexes, LinhaExibida) follow the sort order.
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
  // A refresh as one change seen by the grid: IniciarCarga empties the table
  // and opens a model reset; rows are added and filled without signals and
  // without being moved into the sort order one by one; ConcluirCarga sorts
  // them once and closes the reset. Whatever was stored until ConcluirCarga
  // (a refresh that stopped half-way included) is what the grid then shows.
  // Between the two the model stays consistent, only silent.
  void IniciarCarga();
  void ConcluirCarga();
  bool EmCarga() const { return FEmCarga; }
  // Adds an empty row at the end and gives its index.
  int Acrescentar();
  void SetTexto(int linha, CampoStatus campo, const QString& texto);
  void SetInteiro(int linha, CampoStatus campo, qint32 valor);
  void SetDataHora(int linha, CampoStatus campo, const QDateTime& valor);

  int QtdLinhas() const { return static_cast<int>(FLinhas.size()); }
  const LinhaStatus& Linha(int linha) const { return FLinhas.at(linha); }
  const std::vector<LinhaStatus>& Linhas() const { return FLinhas; }

  // Sorts by these fields (OrdemStatus), ascending, from now on; the same
  // order again changes nothing. Rows equal in every field keep the order
  // in which they were added.
  void Ordenar(const QList<CampoStatus>& chaves);
  const QList<CampoStatus>& Ordem() const { return FChaves; }
  // The row shown at a row of the grid.
  const LinhaStatus& LinhaExibida(int linhaGrade) const { return FLinhas.at(FExibicao.at(linhaGrade)); }

  int rowCount(const QModelIndex& pai = QModelIndex()) const override;
  int columnCount(const QModelIndex& pai = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
  QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

  // What a cell shows: dates in the panel's format, counts in decimal.
  static QString TextoCelula(const LinhaStatus& linha, CampoStatus campo);

  // The history the tooltips read (owned by the caller; none: no tooltips).
  // A date cell tells its age, a count cell its trend and time to catch up
  // (RegrasHistorico); other cells have none.
  void SetHistorico(const HistoricoStatus* historico) { FHistorico = historico; }
  QString DicaCelula(const LinhaStatus& linha, CampoStatus campo) const;

 private:
  void Alterado(int linha, CampoStatus campo);
  bool Precede(int a, int b) const;
  int PosicaoNaGrade(int linha) const;
  // Moves a changed row to its place in the sort order.
  void Reposicionar(int linha);

  std::vector<LinhaStatus> FLinhas;
  // Grid row -> row in the order of adding.
  std::vector<int> FExibicao;
  QList<CampoStatus> FChaves;
  bool FEmCarga = false;
  const HistoricoStatus* FHistorico = nullptr;
};
