#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <sys/types.h>

class BancoTeste;
class ConexaoBanco;

// A Firebird server of the test process's own, on loopback: a free port of
// its own, its own configuration folder (the FIREBIRD variable, given to the
// server alone), its own security database with SYSDBA and a dedicated user,
// its own lock folder. A system-wide server, if any, is never touched.
//
// The server runs as the user running the tests, so the database files the
// tests create are its own.
//
// It is stopped by Parar, at exit, on a fatal signal of the test process and,
// on Linux, by the kernel when the test process dies (even by SIGKILL).
//
// Failures (no server binary, no start within the wait, a helper program
// that fails) are thrown as Falha with the reason and the server's output:
// a test that needs the server fails, it never skips.
//
// The server guards itself against password guessing: after a handful of
// failed logins it answers every later attach seconds late. A test process
// should fail a login only a few times.
//
// Threads: Iniciar, Parar and Matar on the main thread only (the kernel's
// watch on the parent is tied to the thread that started the server).
class ServidorTeste {
 public:
  // The one server of the test process.
  static ServidorTeste& Instancia();

  ServidorTeste(const ServidorTeste&) = delete;
  ServidorTeste& operator=(const ServidorTeste&) = delete;

  // Starts the server and returns once it listens; nothing when it runs
  // already. A restart keeps the port, the users and the databases. When the
  // first start failed, every later call fails at once with its reason.
  void Iniciar();
  // Asks the server to end, and kills it if it has not within a second.
  void Parar();
  // SIGKILL: the server vanishes under its open attachments.
  void Matar();
  // SIGSTOP and SIGCONT: a frozen server keeps its connections open and
  // answers nothing, as a hung host or a silent network path does.
  void Congelar();
  void Descongelar();
  bool Rodando() const { return FPid > 0; }

  quint16 Porta() const { return FPorta; }
  // "localhost/PORT:/path", the name the client attaches with over TCP.
  QString CaminhoRemoto(const QString& caminhoLocal) const;
  // The server's root folder (configuration, security database, output).
  QString Pasta() const;

  static QString UsuarioAdmin() { return QStringLiteral("SYSDBA"); }
  static QString SenhaAdmin() { return QStringLiteral("masterkey"); }
  // A user of its own, not SYSDBA: proves that the configured user is used.
  static QString Usuario() { return QStringLiteral("OPERADOR"); }
  static QString Senha() { return QStringLiteral("Op3r@d0r"); }

  // Points a connection at a database of this server.
  void Configurar(ConexaoBanco& conexao, const QString& caminhoLocal, const QString& usuario = Usuario(),
                  const QString& senha = Senha()) const;
  // Hands a fixture database to the server: the dedicated user gets every
  // right on every table, and the fixture's own connection goes over TCP as
  // SYSDBA (the server holds the file; the embedded engine may not open it).
  void Servir(BancoTeste& banco);

  // gfix -shut full -force 0: the server drops every attachment at once.
  void DesligarBanco(const QString& caminhoLocal);
  // gfix -online normal.
  void ReligarBanco(const QString& caminhoLocal);

  // Runs a program to its end (60 s at most) with the environment given on
  // top of the test process's, output in a file of the server's folder.
  // Gives the output; fails when the program cannot run or ends with a
  // status other than 0.
  QString RodarPrograma(const QString& programa, const QStringList& argumentos,
                        const QStringList& ambiente = {}) const;

 private:
  ServidorTeste() = default;
  ~ServidorTeste();

  void IniciarProcesso(bool primeiraVez);
  void PrepararPasta();
  bool Escutando() const;
  QString SaidaServidor() const;
  QString Gfix(const QString& caminhoLocal, const QStringList& argumentos);
  QStringList AmbienteServidor() const;

  std::unique_ptr<QTemporaryDir> FPasta;
  quint16 FPorta = 0;
  pid_t FPid = 0;
  QString FFalhaPrimeiroInicio;
};
