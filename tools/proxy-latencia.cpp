// A loopback TCP proxy that adds a fixed delay to every byte in each
// direction, as a database server across a wide-area link would: it shows
// what a refresh costs in round trips, which the loopback server hides.
//
//   proxy-latencia --destino=PORTA [--porta=0] [--atraso-ms=5]
//
// Listens on 127.0.0.1 (a free port unless --porta gives one), prints
// "porta=N" once it listens, and forwards every connection to 127.0.0.1:PORTA
// until it is ended (SIGTERM, SIGINT). Each chunk read is written on after
// the delay counted from its reading, so back-to-back chunks keep their
// spacing and the delay does not pile up.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

struct Opcoes {
  int Porta = 0;
  int Destino = 0;
  int AtrasoMs = 5;
};

bool Ler(int argc, char** argv, Opcoes& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto valor = [&](const char* nome, int& destino) {
      const std::string prefixo = std::string(nome) + "=";
      if (arg.rfind(prefixo, 0) != 0) return false;
      char* fim = nullptr;
      const long v = std::strtol(arg.c_str() + prefixo.size(), &fim, 10);
      if (*fim != '\0' || v < 0 || v > 65535) return false;
      destino = int(v);
      return true;
    };
    if (!valor("--porta", o.Porta) && !valor("--destino", o.Destino) && !valor("--atraso-ms", o.AtrasoMs))
      return false;
  }
  return o.Destino > 0;
}

// One direction of one connection: a reader that stamps each chunk with the
// time it is due, a writer that sends it then. An empty chunk is the end.
class Sentido {
 public:
  Sentido(int origem, int destino, std::chrono::milliseconds atraso)
      : FOrigem(origem), FDestino(destino), FAtraso(atraso) {}

  void Ler() {
    std::vector<char> pedaco(64 * 1024);
    for (;;) {
      const ssize_t lidos = ::read(FOrigem, pedaco.data(), pedaco.size());
      const auto devido = Relogio::now() + FAtraso;
      std::lock_guard<std::mutex> trava(FTrava);
      FFila.push_back({devido, lidos > 0 ? std::string(pedaco.data(), size_t(lidos)) : std::string()});
      FSinal.notify_one();
      if (lidos <= 0) return;
    }
  }

  void Escrever() {
    for (;;) {
      Pedaco p;
      {
        std::unique_lock<std::mutex> trava(FTrava);
        FSinal.wait(trava, [this] { return !FFila.empty(); });
        p = std::move(FFila.front());
        FFila.pop_front();
      }
      std::this_thread::sleep_until(p.Devido);
      if (p.Dados.empty()) break;
      size_t enviados = 0;
      while (enviados < p.Dados.size()) {
        const ssize_t n = ::send(FDestino, p.Dados.data() + enviados, p.Dados.size() - enviados, MSG_NOSIGNAL);
        if (n <= 0) {
          // The other side is gone: stop reading too, so both ends close.
          ::shutdown(FOrigem, SHUT_RD);
          Drenar();
          return;
        }
        enviados += size_t(n);
      }
    }
    ::shutdown(FDestino, SHUT_WR);
  }

 private:
  struct Pedaco {
    Relogio::time_point Devido;
    std::string Dados;
  };
  // Waits for the reader's end mark, dropping what it still queues.
  void Drenar() {
    std::unique_lock<std::mutex> trava(FTrava);
    for (;;) {
      FSinal.wait(trava, [this] { return !FFila.empty(); });
      const bool fim = FFila.front().Dados.empty();
      FFila.pop_front();
      if (fim) return;
    }
  }

  int FOrigem, FDestino;
  std::chrono::milliseconds FAtraso;
  std::mutex FTrava;
  std::condition_variable FSinal;
  std::deque<Pedaco> FFila;
};

int Conectar(int porta) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(uint16_t(porta));
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0) {
    ::close(s);
    return -1;
  }
  return s;
}

void SemNagle(int s) {
  const int um = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

// Both directions of one client, on four threads; the sockets close when
// both directions have ended.
void Atender(int cliente, int portaDestino, std::chrono::milliseconds atraso) {
  const int servidor = Conectar(portaDestino);
  if (servidor < 0) {
    ::close(cliente);
    return;
  }
  SemNagle(cliente);
  SemNagle(servidor);
  auto ida = std::make_shared<Sentido>(cliente, servidor, atraso);
  auto volta = std::make_shared<Sentido>(servidor, cliente, atraso);
  std::thread([=] {
    std::thread a([&] { ida->Ler(); }), b([&] { ida->Escrever(); }), c([&] { volta->Ler(); }),
        d([&] { volta->Escrever(); });
    a.join();
    b.join();
    c.join();
    d.join();
    ::close(cliente);
    ::close(servidor);
  }).detach();
}

}  // namespace

int main(int argc, char** argv) {
  Opcoes opcoes;
  if (!Ler(argc, argv, opcoes)) {
    std::fprintf(stderr, "Uso: proxy-latencia --destino=PORTA [--porta=PORTA] [--atraso-ms=5]\n");
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  const int escuta = ::socket(AF_INET, SOCK_STREAM, 0);
  const int um = 1;
  ::setsockopt(escuta, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(uint16_t(opcoes.Porta));
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t tamanho = sizeof endereco;
  if (::bind(escuta, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 || ::listen(escuta, 16) != 0 ||
      ::getsockname(escuta, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
    std::fprintf(stderr, "Não foi possível escutar em 127.0.0.1:%d: %s\n", opcoes.Porta, std::strerror(errno));
    return 1;
  }
  std::printf("porta=%d\n", int(ntohs(endereco.sin_port)));
  std::fflush(stdout);
  const std::chrono::milliseconds atraso(opcoes.AtrasoMs);
  for (;;) {
    const int cliente = ::accept(escuta, nullptr, nullptr);
    if (cliente < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "accept: %s\n", std::strerror(errno));
      return 1;
    }
    Atender(cliente, opcoes.Destino, atraso);
  }
}
