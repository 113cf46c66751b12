#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "servico/FotoStatus.h"

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
// Threads: Iniciar, Parar and the destructor on the owner's thread; Foto
// from any thread; the rest of the work on the refresh thread, which also
// calls the publication observer and the log.
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
  void Rodar();
  void Publicar(std::shared_ptr<FotoStatus> foto);
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
  std::thread FThread;
};
