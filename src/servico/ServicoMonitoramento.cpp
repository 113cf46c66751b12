#include "servico/ServicoMonitoramento.h"

#include <algorithm>

namespace {

RespostaHttp Resposta(int status, const char* tipo, const std::string& corpo) {
  RespostaHttp resposta;
  resposta.Status = status;
  resposta.TipoConteudo = tipo;
  resposta.Corpo = corpo;
  return resposta;
}

}  // namespace

ServicoMonitoramento::ServicoMonitoramento(Opcoes opcoes, AtualizacaoContinua::Registro registro)
    : FAtualizacao(std::move(opcoes.Atualizacao), std::move(registro)),
      FHttp(std::move(opcoes.Http)),
      FPagina(opcoes.Pagina) {
  for (const char* caminho : {"/", "/pagina.js", "/pagina.css", "/painel.json", "/history.json"})
    FHttp.AdicionarRota(caminho, [this](const PedidoHttp& pedido) { return FPagina.Responder(pedido); });
  FAtualizacao.SetObservador([this](const std::shared_ptr<const FotoStatus>& foto) {
    FPagina.Publicada(*foto, QDateTime::currentDateTime());
    if (FObservador) FObservador(foto);
  });
  FHttp.AdicionarRota("/metrics", [this](const PedidoHttp&) {
    return Resposta(200, "text/plain; version=0.0.4; charset=utf-8", FAtualizacao.Foto()->Metricas);
  });
  FHttp.AdicionarRota("/status.json", [this](const PedidoHttp&) {
    return Resposta(200, "application/json", FAtualizacao.Foto()->StatusJson);
  });
  FHttp.AdicionarRota("/healthz", [this](const PedidoHttp&) {
    const auto foto = FAtualizacao.Foto();
    return Resposta(foto->BancoAcessivel ? 200 : 503, "text/plain; charset=utf-8", foto->Saude);
  });
}

ServicoMonitoramento::~ServicoMonitoramento() {
  if (!FParado) Parar(std::chrono::hours(1));
}

void ServicoMonitoramento::Iniciar() {
  FHttp.Iniciar();
  FAtualizacao.Iniciar();
}

bool ServicoMonitoramento::Parar(std::chrono::milliseconds prazo) {
  const auto fim = std::chrono::steady_clock::now() + prazo;
  FParado = true;
  FHttp.Parar();
  const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(fim - std::chrono::steady_clock::now());
  return FAtualizacao.Parar(std::max(resta, std::chrono::milliseconds(0)));
}
