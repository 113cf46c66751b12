#pragma once

#include <QString>
#include <QStringList>

#include "panel/SaidaStatus.h"
#include "panel/VerificacaoStatus.h"

// The options of the executable. Without any, it opens the panel. "--ini"
// takes the configuration from another file, for the window too; "--help"
// and "--version" print and end. "--status" and "--check" read the status
// rows without a window, through the same connection and the same refresh
// as the panel, for scripts and monitoring systems. "--serve" runs the
// monitoring service (HTTP) until SIGTERM or SIGINT. "--fast-counts" goes
// with any of them. A wrong option ends with
// status 2 and a short help on standard error.
class LinhaComando {
 public:
  enum class Modo { Janela, Ajuda, Versao, ErroUso, Status, Verificacao, Servico };

  explicit LinhaComando(const QStringList& argumentos);

  Modo ModoPedido() const { return FModo; }
  bool AbreJanela() const { return FModo == Modo::Janela; }
  // Runs a mode without a window and gives the exit status: 0 done; for
  // --status 1 when the rows could not be read; for --check the plugin's
  // status (0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN); for --serve 0 after a
  // signal, 1 when it could not listen; 2 for a usage error.
  int Executar() const;

  // Empty: "Caminho.ini" beside the executable.
  const QString& ArquivoIni() const { return FArquivoIni; }
  const QString& Erro() const { return FErro; }
  SaidaStatus::Formato Formato() const { return FFormato; }
  qint64 IdadeMaxima() const { return FIdadeMaxima; }
  // "--fast-counts": the same counts with the fast-count statements, in the
  // window and in --status and --check.
  bool ContagemRapida() const { return FContagemRapida; }
  // "--serve[=ENDERECO:PORTA]": 127.0.0.1 and the service's port unless
  // named. "--interval=SEGUNDOS" (1 to 3600); 0 when not given: the
  // panel's own period from the database.
  const QString& EnderecoServico() const { return FEnderecoServico; }
  int PortaServico() const { return FPortaServico; }
  int IntervaloServico() const { return FIntervaloServico; }

  static QString Ajuda();

 private:
  void Analisar(const QStringList& argumentos);
  void ErroDeUso(const QString& erro);
  bool PedirModo(Modo modo);
  int ExecutarStatus() const;
  int ExecutarVerificacao() const;
  bool AnalisarServico(const QString& valor);
  int ExecutarServico() const;

  Modo FModo = Modo::Janela;
  QString FArquivoIni;
  QString FErro;
  SaidaStatus::Formato FFormato = SaidaStatus::Formato::Tabela;
  qint64 FIdadeMaxima = VerificacaoStatus::kIdadePadrao;
  bool FContagemRapida = false;
  QString FEnderecoServico;
  int FPortaServico = 0;
  int FIntervaloServico = 0;
};
