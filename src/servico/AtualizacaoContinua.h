#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "servico/FotoStatus.h"

class AtualizacaoPainel;
class ConexaoBanco;
class TabelaStatus;

// The service's refresh: a thread of its own with an attachment of its own
// reads the status rows as the panel does (AtualizacaoPainel), once per
// period, and publishes each result as a new FotoStatus. However many
// clients ask, the database sees one refresh per period; a request never
// waits for it, it takes the last published FotoStatus.
//
// The period is the one given, or else the panel's own from the database,
// read again before every refresh. A refresh that fails (database
// unreachable, shut down, the configuration unreadable) keeps the previous
// rows and their read time; the next one attaches again, reading
// Caminho.ini afresh, so the service recovers by itself.
//
// A refresh can also hang: a server that stops answering without closing
// the connection (a frozen host, a network path gone silent) leaves the
// client library waiting for hours. A watch thread then publishes, once
// PrazoResposta has passed, the previous rows with the database marked
// unreachable, so that no answer claims a database that does not answer;
// the refresh's own result replaces it whenever the call returns. Some
// calls never return (a forced shutdown of the database can leave a request
// the server never answers): past PrazoDesistencia the watch thread calls
// Desistir once, and the service leaves so that its supervisor starts it
// again with a fresh attachment.
//
// Threads: Iniciar, Parar and the destructor on the owner's thread; Foto
// from any thread; the rest of the work on the refresh thread, which also
// calls the publication observer and the log, as does the watch thread for
// a hung refresh (never both at once).
class AtualizacaoContinua {
 public:
  struct Opcoes {
    QString ArquivoIni;
    // Named on the command line (--ini): a missing or unreadable file is
    // reported with its path, not as a file without the database's name.
    bool ArquivoNomeado = false;
    // --fast-counts; otherwise [PAINEL] CONTAGEM=RAPIDA of the file, read at
    // each attach.
    bool ContagemRapida = false;
    // Zero: the panel's period from the database.
    std::chrono::milliseconds Periodo{0};
    // How long a refresh may go without an answer before the database is
    // reported unreachable.
    std::chrono::milliseconds PrazoResposta{60000};
    // How long a refresh may go without an answer before the service gives
    // up on it; Desistir (if any) is then called once, on the watch thread.
    std::chrono::milliseconds PrazoDesistencia{600000};
    std::function<void()> Desistir;
  };
  // One line per change of state ("banco inacessível: ...", "banco
  // acessível de novo"), never a credential.
  using Registro = std::function<void(const QString&)>;
  // Called on the refresh thread right after each publication.
  using Observador = std::function<void(const std::shared_ptr<const FotoStatus>&)>;

  AtualizacaoContinua(Opcoes opcoes, Registro registro);
  ~AtualizacaoContinua();
  AtualizacaoContinua(const AtualizacaoContinua&) = delete;
  AtualizacaoContinua& operator=(const AtualizacaoContinua&) = delete;

  // Before Iniciar only.
  void SetObservador(Observador observador) { FObservador = std::move(observador); }

  void Iniciar();
  // Asks the thread to end and waits for it at most this long. False when
  // it is still inside a database call (an attach to a host that does not
  // answer); the caller may then leave the process without it.
  bool Parar(std::chrono::milliseconds prazo);

  // The last published result; never null.
  std::shared_ptr<const FotoStatus> Foto() const;

 private:
  enum class Estado { Desconhecido, Acessivel, Inacessivel };

  void Rodar();
  // One refresh: attach when needed, read the rows; the failure's text, or
  // empty on success.
  QString Ler(ConexaoBanco& conexao, AtualizacaoPainel& atualizacao, TabelaStatus& tabela, FotoStatus& foto,
              std::chrono::milliseconds& periodo);
  // Publishes a finished refresh and logs a change of state.
  void Concluir(std::shared_ptr<FotoStatus> foto, const QString& erro);
  // The watch thread: declares a refresh hung once it has run too long.
  void Vigiar();
  void DeclararSemResposta(quint64 leitura, std::chrono::steady_clock::time_point inicio);
  void Publicar(std::shared_ptr<FotoStatus> foto);
  // Marks the start (true) or end of a refresh's database work.
  void MarcarLeitura(bool emAndamento);
  // Waits until the next refresh is due or a stop is asked; true to go on.
  bool Esperar(std::chrono::steady_clock::time_point proxima);

  const Opcoes FOpcoes;
  const Registro FRegistro;
  Observador FObservador;

  mutable std::mutex FMutex;
  std::condition_variable FSinal;
  std::shared_ptr<const FotoStatus> FFoto;
  bool FParar = false;
  bool FTerminou = false;
  // The refresh under way, if any: its number and start. The watch thread
  // declares each hung refresh once.
  quint64 FLeitura = 0;
  bool FLendo = false;
  std::chrono::steady_clock::time_point FInicioLeitura;
  quint64 FLeituraDeclarada = 0;
  quint64 FLeituraAbandonada = 0;

  // Held while a result is published and its change of state logged.
  std::mutex FMutexPublicacao;
  Estado FEstado = Estado::Desconhecido;

  std::thread FThread;
  std::thread FVigia;
};
