#pragma once

#include <QString>
#include <chrono>
#include <memory>

#include "servico/AtualizacaoContinua.h"
#include "servico/PaginaServico.h"
#include "servico/ServidorHttp.h"

// The monitoring service: the refresh thread (AtualizacaoContinua) and the
// HTTP front (ServidorHttp) answering from its last publication:
//   /metrics      Prometheus text exposition 0.0.4
//   /status.json  the rows as --status --format=json, with their read time
//   /healthz      200 "ok", or 503 and why the last refresh failed
//   /             the status page, with /painel.json and /history.json
//                 (PaginaServico)
// More routes may be added before Iniciar; each answers from memory.
//
// Threads: everything here on the owner's thread, but Foto (any thread);
// the observer runs on the refresh thread, the routes on request threads.
class ServicoMonitoramento {
 public:
  // Not a port of a common exporter (they sit in 9100-9999).
  static constexpr int kPortaPadrao = 7431;

  struct Opcoes {
    AtualizacaoContinua::Opcoes Atualizacao;
    ServidorHttp::Opcoes Http;
    PaginaServico::Opcoes Pagina;
  };

  ServicoMonitoramento(Opcoes opcoes, AtualizacaoContinua::Registro registro);
  ~ServicoMonitoramento();

  // Before Iniciar only.
  void AdicionarRota(const std::string& caminho, RotaHttp rota) { FHttp.AdicionarRota(caminho, std::move(rota)); }
  // Called after the status page has taken the publication.
  void SetObservador(AtualizacaoContinua::Observador observador) { FObservador = std::move(observador); }

  // Listens first (a bad address fails here, Falha), then starts refreshing.
  void Iniciar();
  // Stops accepting, finishes the answers in flight, then ends the refresh;
  // false when the refresh thread is still inside a database call once the
  // time given (counted from the call) is over (see AtualizacaoContinua::Parar).
  bool Parar(std::chrono::milliseconds prazo);

  std::shared_ptr<const FotoStatus> Foto() const { return FAtualizacao.Foto(); }
  const PaginaServico& Pagina() const { return FPagina; }
  int Porta() const { return FHttp.Porta(); }

 private:
  AtualizacaoContinua FAtualizacao;
  ServidorHttp FHttp;
  PaginaServico FPagina;
  AtualizacaoContinua::Observador FObservador;
  bool FParado = false;
};
