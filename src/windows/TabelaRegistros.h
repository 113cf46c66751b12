#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "platform/ValorCampo.h"

class ConsultaSql;

// The rows of one query shown read-only in a grid: the grid's columns name
// the query's fields; the optional calculated "CHAVE" holds one text per row.
class TabelaRegistros : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Coluna {
    QString campo;
    QString titulo;
    bool centrada = false;
  };

  explicit TabelaRegistros(QList<Coluna> colunas, QObject* parent = nullptr);

  // Takes the rows of an open query; chaves (when given) has one per row.
  void Carregar(ConsultaSql& consulta, QStringList chaves = {});
  void Limpar();

  int QtdLinhas() const { return static_cast<int>(FLinhas.size()); }
  // The field's value as text ("" for null or a field the query lacks).
  QString Texto(int linha, const QString& campo) const;
  const ValorCampo* Valor(int linha, const QString& campo) const;

  int rowCount(const QModelIndex& pai = {}) const override;
  int columnCount(const QModelIndex& pai = {}) const override;
  QVariant data(const QModelIndex& indice, int papel) const override;
  QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

 private:
  QList<Coluna> FColunas;
  QStringList FCampos;
  std::vector<std::vector<ValorCampo>> FLinhas;
  QStringList FChaves;
};
