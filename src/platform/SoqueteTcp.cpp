#include "platform/SoqueteTcp.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace SoqueteTcp {

namespace {

bool Aguardar(long long soquete, short evento, std::chrono::milliseconds espera) {
  pollfd alvo{static_cast<int>(soquete), evento, 0};
  for (;;) {
    const int pronto = ::poll(&alvo, 1, static_cast<int>(espera.count()));
    if (pronto < 0 && errno == EINTR) continue;
    return pronto > 0;
  }
}

void Endereco(const sockaddr_storage& endereco, socklen_t tamanho, std::string& texto, int& porta) {
  char host[NI_MAXHOST];
  char servico[NI_MAXSERV];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&endereco), tamanho, host, sizeof host, servico,
                    sizeof servico, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return;
  texto = host;
  porta = std::atoi(servico);
}

}  // namespace

bool AguardarLeitura(long long soquete, std::chrono::milliseconds espera) { return Aguardar(soquete, POLLIN, espera); }

bool AguardarEscrita(long long soquete, std::chrono::milliseconds espera) {
  return Aguardar(soquete, POLLOUT, espera);
}

long long Receber(long long soquete, char* destino, std::size_t tamanho) {
  for (;;) {
    const ssize_t lidos = ::recv(static_cast<int>(soquete), destino, tamanho, MSG_DONTWAIT);
    if (lidos < 0 && errno == EINTR) continue;
    return lidos;
  }
}

long long Enviar(long long soquete, const char* origem, std::size_t tamanho) {
  for (;;) {
    const ssize_t enviados = ::send(static_cast<int>(soquete), origem, tamanho, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (enviados < 0 && errno == EINTR) continue;
    if (enviados < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
    return enviados;
  }
}

void Encerrar(long long soquete) {
  const int s = static_cast<int>(soquete);
  ::shutdown(s, SHUT_WR);
  // At most a fifth of a second and 64 KiB: a peer that keeps sending is
  // cut off.
  char descarte[4096];
  const auto prazo = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  for (int vez = 0; vez < 16; ++vez) {
    const auto resta =
        std::chrono::duration_cast<std::chrono::milliseconds>(prazo - std::chrono::steady_clock::now());
    if (resta.count() <= 0 || !Aguardar(soquete, POLLIN, resta)) break;
    if (Receber(soquete, descarte, sizeof descarte) <= 0) break;
  }
  ::close(s);
}

void OpcoesEscuta(long long soquete) {
  int sim = 1;
  ::setsockopt(static_cast<int>(soquete), SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
}

void EnderecoRemoto(long long soquete, std::string& endereco, int& porta) {
  sockaddr_storage dados{};
  socklen_t tamanho = sizeof dados;
  endereco.clear();
  porta = 0;
  if (::getpeername(static_cast<int>(soquete), reinterpret_cast<sockaddr*>(&dados), &tamanho) == 0)
    Endereco(dados, tamanho, endereco, porta);
}

void EnderecoLocal(long long soquete, std::string& endereco, int& porta) {
  sockaddr_storage dados{};
  socklen_t tamanho = sizeof dados;
  endereco.clear();
  porta = 0;
  if (::getsockname(static_cast<int>(soquete), reinterpret_cast<sockaddr*>(&dados), &tamanho) == 0)
    Endereco(dados, tamanho, endereco, porta);
}

}  // namespace SoqueteTcp
