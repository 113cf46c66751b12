#include "servico/FluxoConexao.h"

#include <algorithm>
#include <cstring>

#include "platform/SoqueteTcp.h"

namespace {
constexpr std::chrono::milliseconds kFatia{100};
constexpr std::chrono::seconds kGracaAoParar{1};
}  // namespace

FluxoConexao::FluxoConexao(socket_t soquete, const Limites& limites, std::function<bool()> parando)
    : FSoquete(soquete), FLimites(limites), FParando(std::move(parando)) {
  NovoPedido();
}

void FluxoConexao::NovoPedido() {
  FLidosNoPedido = 0;
  FPrazoPedido = std::chrono::steady_clock::now() + FLimites.Pedido;
}

bool FluxoConexao::Aguardar(bool escrita, std::chrono::steady_clock::time_point prazo) {
  for (;;) {
    if (!escrita && FParando()) return false;
    const auto agora = std::chrono::steady_clock::now();
    if (agora >= prazo) return false;
    const auto resta = std::min(kFatia, std::chrono::duration_cast<std::chrono::milliseconds>(prazo - agora) +
                                            std::chrono::milliseconds(1));
    if (escrita ? SoqueteTcp::AguardarEscrita(FSoquete, resta) : SoqueteTcp::AguardarLeitura(FSoquete, resta))
      return true;
  }
}

std::chrono::steady_clock::time_point FluxoConexao::PrazoEscrita() {
  const auto prazo = std::chrono::steady_clock::now() + FLimites.Escrita;
  if (!FParando()) return prazo;
  if (FPrazoParada == std::chrono::steady_clock::time_point{})
    FPrazoParada = std::chrono::steady_clock::now() + kGracaAoParar;
  return std::min(prazo, FPrazoParada);
}

bool FluxoConexao::AguardarPedido(std::chrono::milliseconds espera) {
  if (FInicio < FFim) return true;
  return Aguardar(false, std::chrono::steady_clock::now() + espera);
}

bool FluxoConexao::is_readable() const {
  return FInicio < FFim || SoqueteTcp::AguardarLeitura(FSoquete, std::chrono::milliseconds(0));
}

bool FluxoConexao::is_writable() const { return SoqueteTcp::AguardarEscrita(FSoquete, FLimites.Escrita); }

ssize_t FluxoConexao::read(char* destino, size_t tamanho) {
  if (FInicio == FFim) {
    if (FLidosNoPedido >= FLimites.BytesPorPedido) return -1;
    if (!Aguardar(false, FPrazoPedido)) return -1;
    const std::size_t cabe = std::min(sizeof FBuffer, FLimites.BytesPorPedido - FLidosNoPedido);
    const long long lidos = SoqueteTcp::Receber(FSoquete, FBuffer, cabe);
    if (lidos <= 0) return lidos == 0 ? 0 : -1;
    FInicio = 0;
    FFim = static_cast<std::size_t>(lidos);
    FLidosNoPedido += FFim;
  }
  const std::size_t entregue = std::min(tamanho, FFim - FInicio);
  std::memcpy(destino, FBuffer + FInicio, entregue);
  FInicio += entregue;
  return static_cast<ssize_t>(entregue);
}

ssize_t FluxoConexao::write(const char* origem, size_t tamanho) {
  std::size_t enviados = 0;
  auto prazo = PrazoEscrita();
  while (enviados < tamanho) {
    if (!Aguardar(true, prazo)) return -1;
    const long long parte = SoqueteTcp::Enviar(FSoquete, origem + enviados, tamanho - enviados);
    if (parte < 0) return -1;
    if (parte > 0) prazo = PrazoEscrita();
    enviados += static_cast<std::size_t>(parte);
  }
  return static_cast<ssize_t>(tamanho);
}

void FluxoConexao::get_remote_ip_and_port(std::string& endereco, int& porta) const {
  SoqueteTcp::EnderecoRemoto(FSoquete, endereco, porta);
}

void FluxoConexao::get_local_ip_and_port(std::string& endereco, int& porta) const {
  SoqueteTcp::EnderecoLocal(FSoquete, endereco, porta);
}
