#pragma once

#include <QDateTime>
#include <memory>
#include <mutex>
#include <string>

#include "panel/HistoricoStatus.h"
#include "servico/FotoStatus.h"
#include "servico/RotaHttp.h"

// The status page of the service and what it reads:
//   /             the page (its script and styles at /pagina.js, /pagina.css)
//   /painel.json  the rows with ages, trends, time to catch up, sparklines
//   /history.json?filial=..&maquina=..  one machine's history; 404 unknown
// (shapes in panel/SaidaPagina.h). Every answer carries a
// Content-Security-Policy that allows nothing from elsewhere.
//
// The history takes a sample of the rows at each successful refresh. The
// page's JSON is written once per publication, on the refresh thread, so a
// request costs a copy; /history.json reads the history under its lock.
//
// Threads: the constructor on the owner's thread, before the service
// starts; Publicada on the refresh thread (ServicoMonitoramento's observer);
// Responder on request threads.
class PaginaServico {
 public:
  struct Opcoes {
    // A row whose last receipt or send is older than this is late.
    qint64 IdadeMaximaMinutos = 60;
    // The page asks for the rows again at this pace.
    int AtualizarSegundos = 15;
  };

  explicit PaginaServico(Opcoes opcoes);

  // A new publication of the refresh thread, at this time.
  void Publicada(const FotoStatus& foto, const QDateTime& agora);
  RespostaHttp Responder(const PedidoHttp& pedido) const;

  const HistoricoStatus& Historico() const { return FHistorico; }

 private:
  RespostaHttp Arquivo(const std::string& caminho) const;
  RespostaHttp HistoricoJson(const PedidoHttp& pedido) const;

  const Opcoes FOpcoes;
  HistoricoStatus FHistorico;
  // Only the refresh thread touches these two.
  QDateTime FUltimaLeitura;
  QDateTime FInacessivelDesde;

  mutable std::mutex FTrava;
  std::shared_ptr<const std::string> FPainel;
};
