#include "panel/TabelaStatus.h"

#include <algorithm>

#include "panel/FormatoDataHora.h"
#include "panel/OrdemStatus.h"
#include "panel/RegrasHistorico.h"

TabelaStatus::TabelaStatus(QObject* dono) : QAbstractTableModel(dono) {}

void TabelaStatus::Esvaziar() {
  if (FEmCarga) {
    FLinhas.clear();
    FExibicao.clear();
    return;
  }
  if (FLinhas.empty()) return;
  beginResetModel();
  FLinhas.clear();
  FExibicao.clear();
  endResetModel();
}

void TabelaStatus::IniciarCarga() {
  if (FEmCarga) return;
  beginResetModel();
  FEmCarga = true;
  FLinhas.clear();
  FExibicao.clear();
}

void TabelaStatus::ConcluirCarga() {
  if (!FEmCarga) return;
  // The rows came in the order of adding; one sort puts them in the order
  // in force (ties keep the order of adding, as Precede says).
  if (!FChaves.isEmpty()) std::sort(FExibicao.begin(), FExibicao.end(), [this](int a, int b) { return Precede(a, b); });
  FEmCarga = false;
  endResetModel();
}

int TabelaStatus::Acrescentar() {
  const int linha = QtdLinhas();
  FLinhas.emplace_back();
  if (FEmCarga) {
    FExibicao.push_back(linha);
    return linha;
  }
  const auto lugar = std::lower_bound(FExibicao.begin(), FExibicao.end(), linha,
                                      [this](int a, int b) { return Precede(a, b); });
  const int posicao = static_cast<int>(lugar - FExibicao.begin());
  beginInsertRows(QModelIndex(), posicao, posicao);
  FExibicao.insert(lugar, linha);
  endInsertRows();
  return linha;
}

bool TabelaStatus::Precede(int a, int b) const {
  if (!FChaves.isEmpty()) {
    const int r = OrdemStatus::Comparar(FLinhas[static_cast<std::size_t>(a)], FLinhas[static_cast<std::size_t>(b)],
                                        FChaves);
    if (r != 0) return r < 0;
  }
  return a < b;
}

int TabelaStatus::PosicaoNaGrade(int linha) const {
  if (FChaves.isEmpty()) return linha;
  const auto lugar = std::find(FExibicao.begin(), FExibicao.end(), linha);
  return lugar == FExibicao.end() ? -1 : static_cast<int>(lugar - FExibicao.begin());
}

void TabelaStatus::Reposicionar(int linha) {
  const int atual = PosicaoNaGrade(linha);
  int destino = 0;
  for (const int outra : FExibicao)
    if (outra != linha && Precede(outra, linha)) ++destino;
  if (destino == atual) return;
  beginMoveRows(QModelIndex(), atual, atual, QModelIndex(), destino > atual ? destino + 1 : destino);
  FExibicao.erase(FExibicao.begin() + atual);
  FExibicao.insert(FExibicao.begin() + destino, linha);
  endMoveRows();
}

void TabelaStatus::Ordenar(const QList<CampoStatus>& chaves) {
  if (chaves == FChaves) return;
  if (FEmCarga) {
    FChaves = chaves;  // ConcluirCarga sorts by it
    return;
  }
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  // The grid's current cell stays on its row, wherever the row goes.
  const QModelIndexList antes = persistentIndexList();
  std::vector<int> linhasAntes;
  linhasAntes.reserve(static_cast<std::size_t>(antes.size()));
  for (const QModelIndex& indice : antes) linhasAntes.push_back(FExibicao.at(indice.row()));

  FChaves = chaves;
  std::sort(FExibicao.begin(), FExibicao.end(), [this](int a, int b) { return Precede(a, b); });

  QModelIndexList depois;
  depois.reserve(antes.size());
  for (qsizetype i = 0; i < antes.size(); ++i)
    depois << index(PosicaoNaGrade(linhasAntes[static_cast<std::size_t>(i)]), antes[i].column());
  changePersistentIndexList(antes, depois);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
  if (FEmCarga) return;
  if (FChaves.contains(campo)) Reposicionar(linha);
  const int coluna = ColunaGrid::IndiceDe(campo);
  if (coluna < 0) return;
  const QModelIndex celula = index(PosicaoNaGrade(linha), coluna);
  emit dataChanged(celula, celula);
}

int TabelaStatus::rowCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : static_cast<int>(FExibicao.size());
}

int TabelaStatus::columnCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : static_cast<int>(ColunaGrid::Todas().size());
}

QString TabelaStatus::TextoCelula(const LinhaStatus& linha, CampoStatus campo) {
  if (LinhaStatus::EhTexto(campo)) return linha.Texto(campo);
  if (LinhaStatus::EhData(campo)) return FormatoDataHora::Celula(linha.DataHora(campo));
  return QString::number(linha.Inteiro(campo));
}

QString TabelaStatus::DicaCelula(const LinhaStatus& linha, CampoStatus campo) const {
  if (!FHistorico) return {};
  const QDateTime agora = FHistorico->Agora();
  if (LinhaStatus::EhData(campo)) return RegrasHistorico::Idade(linha.DataHora(campo), agora);
  RegrasHistorico::Contagem contagem;
  switch (campo) {
    case CampoStatus::QTDREGRECEB:
      contagem = RegrasHistorico::Contagem::Receber;
      break;
    case CampoStatus::QTDREGENVIAR:
      contagem = RegrasHistorico::Contagem::Enviar;
      break;
    case CampoStatus::QTDREGFILA:
      contagem = RegrasHistorico::Contagem::Fila;
      break;
    default:
      return {};
  }
  QString dica;
  FHistorico->Ler(linha.CODEMPRESA, linha.MAQUINAECF, [&](const HistoricoMaquina& historico) {
    const auto tendencia = RegrasHistorico::TendenciaDe(historico, contagem, agora);
    dica = RegrasHistorico::TextoTendencia(tendencia) + QStringLiteral("\nPrevisão: ") +
           RegrasHistorico::Previsao(tendencia);
  });
  return dica;
}

QVariant TabelaStatus::data(const QModelIndex& indice, int papel) const {
  if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount()) return {};
  const ColunaGrid& coluna = ColunaGrid::Todas().at(indice.column());
  const LinhaStatus& linha = LinhaExibida(indice.row());
  switch (papel) {
    case Qt::DisplayRole:
      return TextoCelula(linha, coluna.Campo);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(coluna.Alinhamento | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
      const QString dica = DicaCelula(linha, coluna.Campo);
      return dica.isEmpty() ? QVariant() : QVariant(dica);
    }
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
