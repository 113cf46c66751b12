#pragma once

#include "platform/SqlComParametros.h"
#include "platform/ValorCampo.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace Firebird {
class IStatement;
class IMessageMetadata;
}  // namespace Firebird

class ConexaoBanco;

// A statement with named parameters on the shared connection. Every value is
// bound as text; a name that stands several times carries its value at every
// position; names match without regard to letter case. The text is prepared
// once and executed as often as needed until it changes.
//
// Abrir runs a query and loads every row it returns (text blobs read whole);
// Executar runs a statement without a result set.
//
// A window owns its queries as children, so that the main window can attach
// every query of a window to the shared connection in creation order.
//
// Threads: the user-interface thread only.
class ConsultaSql : public QObject {
  Q_OBJECT

 public:
  explicit ConsultaSql(ConexaoBanco* conexao = nullptr, QObject* dono = nullptr);
  ~ConsultaSql();
  ConsultaSql(const ConsultaSql&) = delete;
  ConsultaSql& operator=(const ConsultaSql&) = delete;

  void SetConexao(ConexaoBanco* conexao);
  ConexaoBanco* Conexao() const { return FConexao; }

  // A new text closes the query and drops the parameter values.
  void SetSql(const QString& sql);
  const QString& Sql() const { return FSql.Original(); }
  QStringList NomesParametros() const { return FSql.NomesDistintos(); }

  void SetParam(const QString& nome, const QString& valor);
  void SetParamNulo(const QString& nome);

  void Abrir();
  qint64 Executar();  // rows affected
  void Fechar();
  bool Ativa() const { return FAtiva; }

  const QStringList& Colunas() const { return FColunas; }
  int IndiceColuna(const QString& nome) const;  // -1 when absent
  int QtdLinhas() const { return static_cast<int>(FLinhas.size()); }
  bool Vazia() const { return FLinhas.empty(); }
  const std::vector<ValorCampo>& Linha(int linha) const { return FLinhas.at(linha); }
  // Fails with a clear message when the column does not exist.
  const ValorCampo& Valor(int linha, const QString& coluna) const;
  const ValorCampo& Valor(int linha, int coluna) const { return FLinhas.at(linha).at(coluna); }

  // Hands the loaded rows over, leaving the query closed.
  std::vector<std::vector<ValorCampo>> TomarLinhas();

 private:
  struct Preparado;
  void Preparar();
  Firebird::IMessageMetadata* Vincular(std::vector<unsigned char>& entrada);
  void LiberarPreparo(bool semServidor);
  friend class ConexaoBanco;

  ConexaoBanco* FConexao = nullptr;
  SqlComParametros FSql{QString()};
  QHash<QString, std::optional<QByteArray>> FValores;
  std::unique_ptr<Preparado> FPreparado;
  bool FAtiva = false;
  QStringList FColunas;
  std::vector<std::vector<ValorCampo>> FLinhas;
};
