#pragma once

#include <QHash>
#include <QPair>
#include <QString>

#include "platform/ConsultaSql.h"

class ConexaoBanco;
class TabelaStatus;

// Rebuilds the status table from the database: the status statement, then
// for each row its send count and its queue count. The main window wraps it
// in its busy notice and time stamp; the command line runs it as it is, so
// both show the same rows.
//
// The status statement and the counting statements are prepared once and
// kept across rows and refreshes: each row costs two executions, not two
// prepares, and a refresh on the same attachment prepares nothing. The grid
// hears one model reset per refresh (TabelaStatus::IniciarCarga).
//
// With the fast counts on, the same two numbers come from the fast-count
// statements of the catalogue instead: the change log counted once, then one
// statement giving every machine its own numbers. Three statements whatever
// the number of machines, instead of 1 + 2N, none of them scanning the change
// log per machine. They run in one read-only snapshot, so the numbers they
// are combined from come from one instant while the ERP writes; the
// per-machine way keeps one read-committed statement per count.
//
// Threads: the user-interface thread (or the command line's only thread).
class AtualizacaoPainel {
 public:
  AtualizacaoPainel(ConexaoBanco& conexao, TabelaStatus& tabela);
  AtualizacaoPainel(const AtualizacaoPainel&) = delete;
  AtualizacaoPainel& operator=(const AtualizacaoPainel&) = delete;

  // Empties the table and fills it again. False when the status statement
  // returned no row (the caller then keeps its time stamp). A failing
  // statement stops the refresh: the rows stored so far stay, the one being
  // built included, and the failure goes to the caller.
  bool Atualizar();

  // Off by default; starts as ParametrosPainel::ContagemRapida() says.
  void SetContagemRapida(bool ligada) { FContagemRapida = ligada; }
  bool ContagemRapida() const { return FContagemRapida; }

  // Records still to send to a machine, and its queue entries waiting or in
  // error. The branch code is trimmed here; the machine identifier is passed
  // as it is.
  qint32 ContarRegEnviar(const QString& codEmpresa, const QString& maquinaEcf);
  qint32 ContarRegFila(const QString& codEmpresa, const QString& maquinaEcf);

 private:
  qint32 Contar(ConsultaSql& consulta, const QString& nomeEmpresa, const QString& nomeMaquina,
                const QString& codEmpresa, const QString& maquinaEcf);
  // Both counts of every machine, the fast way, by the MAQUINA and
  // MAQUINAECF texts of the status statement.
  struct Contagem {
    qint32 Enviar = 0, Fila = 0;
  };
  using ChaveMaquina = QPair<QString, QString>;
  QHash<ChaveMaquina, Contagem> ContarRapido();
  // One row's counts the fast way; falls back to the per-machine statements
  // (in the same snapshot) for a branch code the server's TRIM would not
  // trim as the per-machine way does.
  Contagem ContagemDaLinha(const QHash<ChaveMaquina, Contagem>& contagens, const QString& maquina,
                           const QString& maquinaEcf);

  ConexaoBanco& FConexao;
  TabelaStatus& FTabela;
  ConsultaSql FStatus;
  ConsultaSql FRegEnviar;
  ConsultaSql FRegFila;
  ConsultaSql FAlteracoes;
  ConsultaSql FMaquinas;
  bool FContagemRapida;
};
