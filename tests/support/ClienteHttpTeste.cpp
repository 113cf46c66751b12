#include "ClienteHttpTeste.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ClienteHttpTeste::ClienteHttpTeste(int porta) {
  FSoquete = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(static_cast<uint16_t>(porta));
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (FSoquete >= 0 && ::connect(FSoquete, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0) {
    ::close(FSoquete);
    FSoquete = -1;
  }
}

ClienteHttpTeste::~ClienteHttpTeste() {
  if (FSoquete >= 0) ::close(FSoquete);
}

bool ClienteHttpTeste::Enviar(const std::string& bytes) {
  std::size_t enviados = 0;
  while (enviados < bytes.size()) {
    const ssize_t parte = ::send(FSoquete, bytes.data() + enviados, bytes.size() - enviados, MSG_NOSIGNAL);
    if (parte <= 0) return false;
    enviados += static_cast<std::size_t>(parte);
  }
  return true;
}

std::string ClienteHttpTeste::LerAteFechar(std::chrono::milliseconds espera) {
  std::string recebido;
  const auto prazo = std::chrono::steady_clock::now() + espera;
  FFechou = false;
  for (;;) {
    const auto resta =
        std::chrono::duration_cast<std::chrono::milliseconds>(prazo - std::chrono::steady_clock::now()).count();
    pollfd alvo{FSoquete, POLLIN, 0};
    if (resta <= 0 || ::poll(&alvo, 1, static_cast<int>(resta)) <= 0) return recebido;
    char buffer[4096];
    const ssize_t lidos = ::recv(FSoquete, buffer, sizeof buffer, 0);
    if (lidos <= 0) {
      FFechou = true;
      return recebido;
    }
    recebido.append(buffer, static_cast<std::size_t>(lidos));
  }
}
