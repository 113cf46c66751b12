#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <set>

namespace Firebird {
class IAttachment;
class ITransaction;
class FbException;
}  // namespace Firebird

class ConsultaSql;

// The one connection to the Firebird database, over the client library's
// object-oriented API. It holds the driver's parameter set in its order and
// attaches with it: database, user, password, role, SQL dialect, no
// connection character set, never a login prompt.
//
// Statements run outside an explicit transaction get one of their own (read
// committed, record version, wait on locks, write), committed when the
// statement is done. At most one explicit transaction is open at a time.
//
// A snapshot read (LeituraInstantanea) is a read-only transaction at
// concurrency isolation: while it is open, every statement of the connection
// runs in it and sees the database as it was when it began. It is apart from
// the explicit transaction and its guards.
//
// A statement on a closed connection first opens it with the parameters then
// in force. A lost attachment (server gone, database shut down) counts as
// closed: the failure is raised as usual and the next statement attaches
// again.
//
// Threads: the user-interface thread only.
class ConexaoBanco {
 public:
  using Parametro = QPair<QString, QString>;

  ConexaoBanco();
  ~ConexaoBanco();
  ConexaoBanco(const ConexaoBanco&) = delete;
  ConexaoBanco& operator=(const ConexaoBanco&) = delete;

  const QList<Parametro>& Params() const { return FParams; }
  QString Param(const QString& nome) const;
  void SetParam(const QString& nome, const QString& valor);

  void Abrir();
  void Fechar();
  bool Aberta() const { return FAnexo != nullptr; }

  void IniciarTransacao();
  void ConfirmarTransacao();
  void CancelarTransacao();
  bool EmTransacao() const { return FTransacao != nullptr || FTransacaoPerdida; }

  // Through LeituraInstantanea, which ends it on every path. Starting one
  // while another is open fails; ending one that the lost attachment took
  // along does nothing.
  void IniciarLeituraInstantanea();
  void EncerrarLeituraInstantanea();
  bool EmLeituraInstantanea() const { return FLeitura != nullptr; }

  // Counters read by the benchmark and the audit tests.
  quint64 Preparos() const { return FPreparos; }
  quint64 Execucoes() const { return FExecucoes; }
  // Called with the text of every statement run.
  void SetObservador(std::function<void(const QString&)> observador) { FObservador = std::move(observador); }

 private:
  friend class ConsultaSql;

  Firebird::IAttachment* AnexoAberto();
  // The transaction the statements run in, when not one of their own.
  Firebird::ITransaction* TransacaoExplicita() const { return FLeitura ? FLeitura : FTransacao; }
  Firebird::ITransaction* NovaTransacao();
  // A read-only snapshot of a statement's own: what a query with BLOB
  // columns reads in, so that the record versions it fetched keep their
  // BLOBs until it has read them, whatever other programs commit and the
  // server collects meanwhile (at read committed, a BLOB of a row changed
  // after the fetch may be gone: "BLOB not found").
  Firebird::ITransaction* NovaLeituraPropria();
  unsigned Dialeto() const;
  quint64 Geracao() const { return FGeracao; }
  void ContarPreparo() { ++FPreparos; }
  void ContarExecucao(const QString& sql);
  [[noreturn]] void Relancar(const Firebird::FbException& e);
  void Descartar();
  void Registrar(ConsultaSql* consulta) { FConsultas.insert(consulta); }
  void Desregistrar(ConsultaSql* consulta) { FConsultas.erase(consulta); }

  QList<Parametro> FParams;
  Firebird::IAttachment* FAnexo = nullptr;
  Firebird::ITransaction* FTransacao = nullptr;
  Firebird::ITransaction* FLeitura = nullptr;
  // The explicit transaction died with its attachment; it still counts as
  // open until the caller rolls it back, so the caller's own message is shown.
  bool FTransacaoPerdida = false;
  quint64 FGeracao = 0;
  quint64 FPreparos = 0;
  quint64 FExecucoes = 0;
  std::function<void(const QString&)> FObservador;
  std::set<ConsultaSql*> FConsultas;
  // The transaction parameter block of the statements, built once per value
  // of "WaitOnLocks": every read of a refresh starts a transaction.
  QByteArray FTpb;
  QString FTpbEspera;
  QByteArray FTpbLeitura;
};
