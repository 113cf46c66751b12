#include "TabelaRegistros.h"

#include <QFont>

#include "platform/ConsultaSql.h"

TabelaRegistros::TabelaRegistros(QList<Coluna> colunas, QObject* parent)
    : QAbstractTableModel(parent), FColunas(std::move(colunas)) {}

void TabelaRegistros::Carregar(ConsultaSql& consulta, QStringList chaves) {
  beginResetModel();
  FCampos = consulta.Colunas();
  for (QString& campo : FCampos) campo = campo.toUpper();
  FLinhas = consulta.TomarLinhas();
  FChaves = std::move(chaves);
  endResetModel();
}

void TabelaRegistros::Limpar() {
  beginResetModel();
  FLinhas.clear();
  FChaves.clear();
  endResetModel();
}

const ValorCampo* TabelaRegistros::Valor(int linha, const QString& campo) const {
  if (linha < 0 || linha >= QtdLinhas()) return nullptr;
  const int c = FCampos.indexOf(campo.toUpper());
  if (c < 0 || c >= static_cast<int>(FLinhas[linha].size())) return nullptr;
  return &FLinhas[linha][c];
}

QString TabelaRegistros::Texto(int linha, const QString& campo) const {
  if (campo == QStringLiteral("CHAVE")) return linha < FChaves.size() ? FChaves[linha] : QString();
  const ValorCampo* valor = Valor(linha, campo);
  return valor && !valor->EhNulo() ? valor->AsString() : QString();
}

int TabelaRegistros::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : QtdLinhas(); }

int TabelaRegistros::columnCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : static_cast<int>(FColunas.size());
}

QVariant TabelaRegistros::data(const QModelIndex& indice, int papel) const {
  if (!indice.isValid()) return {};
  const Coluna& coluna = FColunas[indice.column()];
  if (papel == Qt::DisplayRole) return Texto(indice.row(), coluna.campo);
  if (papel == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter | (coluna.centrada ? Qt::AlignHCenter : Qt::AlignLeft));
  return {};
}

QVariant TabelaRegistros::headerData(int secao, Qt::Orientation orientacao, int papel) const {
  if (orientacao != Qt::Horizontal || secao < 0 || secao >= FColunas.size()) return {};
  if (papel == Qt::DisplayRole) return FColunas[secao].titulo;
  if (papel == Qt::FontRole) {
    QFont negrito;
    negrito.setBold(true);
    return negrito;
  }
  if (papel == Qt::TextAlignmentRole && FColunas[secao].centrada) return int(Qt::AlignCenter);
  return {};
}
