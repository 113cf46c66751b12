#include "panel/TabelaStatus.h"

#include "panel/FormatoDataHora.h"

TabelaStatus::TabelaStatus(QObject* dono) : QAbstractTableModel(dono) {}

void TabelaStatus::Esvaziar() {
  if (FLinhas.empty()) return;
  beginResetModel();
  FLinhas.clear();
  endResetModel();
}

int TabelaStatus::Acrescentar() {
  const int linha = QtdLinhas();
  beginInsertRows(QModelIndex(), linha, linha);
  FLinhas.emplace_back();
  endInsertRows();
  return linha;
}

void TabelaStatus::SetTexto(int linha, CampoStatus campo, const QString& texto) {
  FLinhas.at(linha).SetTexto(campo, texto);
  Alterado(linha, campo);
}

void TabelaStatus::SetInteiro(int linha, CampoStatus campo, qint32 valor) {
  FLinhas.at(linha).SetInteiro(campo, valor);
  Alterado(linha, campo);
}

void TabelaStatus::SetDataHora(int linha, CampoStatus campo, const QDateTime& valor) {
  FLinhas.at(linha).SetDataHora(campo, valor);
  Alterado(linha, campo);
}

void TabelaStatus::Alterado(int linha, CampoStatus campo) {
  const int coluna = ColunaGrid::IndiceDe(campo);
  if (coluna < 0) return;
  const QModelIndex celula = index(linha, coluna);
  emit dataChanged(celula, celula);
}

int TabelaStatus::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : QtdLinhas(); }

int TabelaStatus::columnCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : static_cast<int>(ColunaGrid::Todas().size());
}

QString TabelaStatus::TextoCelula(const LinhaStatus& linha, CampoStatus campo) {
  if (LinhaStatus::EhTexto(campo)) return linha.Texto(campo);
  if (LinhaStatus::EhData(campo)) return FormatoDataHora::Celula(linha.DataHora(campo));
  return QString::number(linha.Inteiro(campo));
}

QVariant TabelaStatus::data(const QModelIndex& indice, int papel) const {
  if (!indice.isValid() || indice.row() >= QtdLinhas() || indice.column() >= columnCount()) return {};
  const ColunaGrid& coluna = ColunaGrid::Todas().at(indice.column());
  const LinhaStatus& linha = FLinhas[static_cast<std::size_t>(indice.row())];
  switch (papel) {
    case Qt::DisplayRole:
      return TextoCelula(linha, coluna.Campo);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(coluna.Alinhamento | Qt::AlignVCenter);
    case kValorRole:
      if (LinhaStatus::EhTexto(coluna.Campo)) return linha.Texto(coluna.Campo);
      if (LinhaStatus::EhData(coluna.Campo)) return linha.DataHora(coluna.Campo);
      return linha.Inteiro(coluna.Campo);
    default:
      return {};
  }
}

QVariant TabelaStatus::headerData(int secao, Qt::Orientation orientacao, int papel) const {
  if (orientacao != Qt::Horizontal || secao < 0 || secao >= columnCount()) return {};
  if (papel == Qt::DisplayRole) return ColunaGrid::Todas().at(secao).Titulo;
  if (papel == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TabelaStatus::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
