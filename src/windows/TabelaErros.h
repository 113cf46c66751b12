#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class ConsultaSql;

// The error viewer's in-memory table: the rows of one load of INTEGERRO,
// shown as the grid's three columns. Acknowledgements are posted here first
// and written afterwards; the flags as last written (or loaded) are kept, so
// that a rolled-back write puts the rows back as the database holds them.
//
// Threads: the user-interface thread only.
class TabelaErros : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Coluna { kConferido, kDataErro, kMensagem, kQtdColunas };
  // The field behind each column, as the grid's handlers compare it.
  static QString NomeCampo(int coluna);
  // headerData(coluna, Horizontal, RoleNomeCampo) gives NomeCampo(coluna).
  static constexpr int RoleNomeCampo = Qt::UserRole + 1;

  struct Registro {
    QString CodEmpresa;
    qint32 IdIntegErro = 0;
    QDateTime DataErro;  // invalid when null
    QString MsgErro;     // empty when null
    QString Conferido;   // empty when null
  };

  explicit TabelaErros(QObject* dono = nullptr);

  // The display text of the calculated "Mensagem" field of a row.
  void SetTextoMensagem(std::function<QString(int linha)> texto) { FTextoMensagem = std::move(texto); }

  // Empties the table.
  void Fechar();
  // Runs the query and keeps every row it returns. On failure the table
  // stays empty.
  void Abrir(ConsultaSql& consulta);

  int QtdLinhas() const { return static_cast<int>(FRegistros.size()); }
  const Registro& Linha(int linha) const { return FRegistros.at(linha); }

  // Posts a new flag in memory only.
  void SetConferido(int linha, const QString& valor);
  // The database now holds the posted flags.
  void AceitarAlteracoes();
  // Back to the flags the database holds.
  void DesfazerAlteracoes();

  int rowCount(const QModelIndex& pai = QModelIndex()) const override;
  int columnCount(const QModelIndex& pai = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
  QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

 private:
  std::vector<Registro> FRegistros;
  std::vector<QString> FConferidosGravados;
  std::function<QString(int)> FTextoMensagem;
};
