#include "windows/TabelaErros.h"

#include "model/TabelasIntegracao.h"
#include "panel/FormatoDataHora.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

namespace Col = TabelasIntegracao::Coluna;

QString TabelaErros::NomeCampo(int coluna) {
  switch (coluna) {
    case kConferido: return Col::Conferido;
    case kDataErro: return Col::DataErro;
    case kMensagem: return QStringLiteral("Mensagem");
    default: return {};
  }
}

TabelaErros::TabelaErros(QObject* dono) : QAbstractTableModel(dono) {}

void TabelaErros::Fechar() {
  beginResetModel();
  FRegistros.clear();
  FConferidosGravados.clear();
  endResetModel();
}

void TabelaErros::Abrir(ConsultaSql& consulta) {
  Fechar();
  consulta.Abrir();
  const int codEmpresa = consulta.IndiceColuna(Col::CodEmpresa);
  const int id = consulta.IndiceColuna(Col::IdIntegErro);
  const int data = consulta.IndiceColuna(Col::DataErro);
  const int msg = consulta.IndiceColuna(Col::MsgErro);
  const int conferido = consulta.IndiceColuna(Col::Conferido);
  for (int c : {codEmpresa, id, data, msg, conferido}) {
    if (c < 0) {
      consulta.Fechar();
      throw Falha(QStringLiteral("A consulta de erros não trouxe os campos esperados."));
    }
  }

  // The rows are moved out of the query: error texts may be large.
  auto linhas = consulta.TomarLinhas();
  std::vector<Registro> registros;
  registros.reserve(linhas.size());
  for (auto& linha : linhas) {
    Registro r;
    r.CodEmpresa = linha[codEmpresa].AsString();
    r.IdIntegErro = static_cast<qint32>(linha[id].AsInteger());
    r.DataErro = linha[data].AsDateTime();
    r.MsgErro = linha[msg].AsString();
    r.Conferido = linha[conferido].AsString();
    linha.clear();
    registros.push_back(std::move(r));
  }

  beginResetModel();
  FRegistros = std::move(registros);
  FConferidosGravados.clear();
  for (const Registro& r : FRegistros) FConferidosGravados.push_back(r.Conferido);
  endResetModel();
}

void TabelaErros::SetConferido(int linha, const QString& valor) {
  FRegistros.at(linha).Conferido = valor;
  emit dataChanged(index(linha, kConferido), index(linha, kConferido));
}

void TabelaErros::AceitarAlteracoes() {
  for (size_t i = 0; i < FRegistros.size(); ++i) FConferidosGravados[i] = FRegistros[i].Conferido;
}

void TabelaErros::DesfazerAlteracoes() {
  for (size_t i = 0; i < FRegistros.size(); ++i) FRegistros[i].Conferido = FConferidosGravados[i];
  if (!FRegistros.empty()) emit dataChanged(index(0, kConferido), index(QtdLinhas() - 1, kConferido));
}

int TabelaErros::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : QtdLinhas(); }

int TabelaErros::columnCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : kQtdColunas; }

QVariant TabelaErros::data(const QModelIndex& indice, int papel) const {
  if (papel != Qt::DisplayRole || !indice.isValid() || indice.row() >= QtdLinhas()) return {};
  const Registro& r = FRegistros[indice.row()];
  switch (indice.column()) {
    case kConferido: return r.Conferido;
    case kDataErro: return FormatoDataHora::Celula(r.DataErro);
    case kMensagem: return FTextoMensagem ? FTextoMensagem(indice.row()) : QString();
    default: return {};
  }
}

QVariant TabelaErros::headerData(int secao, Qt::Orientation orientacao, int papel) const {
  if (orientacao == Qt::Vertical) return papel == Qt::DisplayRole ? QVariant(QString()) : QVariant();
  if (papel == RoleNomeCampo) return NomeCampo(secao);
  if (papel != Qt::DisplayRole) return {};
  switch (secao) {
    case kConferido: return QStringLiteral("Conferido?");
    case kDataErro: return QStringLiteral("Data");
    case kMensagem: return QStringLiteral("Mensagem");
    default: return {};
  }
}

Qt::ItemFlags TabelaErros::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
