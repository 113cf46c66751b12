#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>

// One client connection as the HTTP library reads and writes it, with the
// bounds the library itself does not put on a request: the whole request
// (line, headers and any body) must arrive within a time and a number of
// bytes, so a client that sends nothing, sends slowly or sends without end
// holds its connection for a bounded time and memory. Reads are buffered:
// the library reads a request line byte by byte.
//
// Once the server stops, a request not yet received is abandoned and an
// answer being written gets one more second.
//
// Threads: the connection's worker thread only.
class FluxoConexao : public httplib::Stream {
 public:
  struct Limites {
    std::chrono::milliseconds Pedido{5000};     // to receive one whole request
    std::chrono::milliseconds Escrita{5000};    // without progress while answering
    std::size_t BytesPorPedido = 16 * 1024;
  };

  FluxoConexao(socket_t soquete, const Limites& limites, std::function<bool()> parando);

  // Waits for the next request of a kept-alive connection: true when bytes
  // are there, false on timeout, end of stream or stop.
  bool AguardarPedido(std::chrono::milliseconds espera);
  // Starts the clock and the byte count of a new request.
  void NovoPedido();

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* destino, size_t tamanho) override;
  ssize_t write(const char* origem, size_t tamanho) override;
  void get_remote_ip_and_port(std::string& endereco, int& porta) const override;
  void get_local_ip_and_port(std::string& endereco, int& porta) const override;
  socket_t socket() const override { return FSoquete; }

 private:
  // Polls in short slices so that a stop is seen soon.
  bool Aguardar(bool escrita, std::chrono::steady_clock::time_point prazo);
  std::chrono::steady_clock::time_point PrazoEscrita();

  const socket_t FSoquete;
  const Limites FLimites;
  const std::function<bool()> FParando;
  char FBuffer[4096];
  std::size_t FInicio = 0;
  std::size_t FFim = 0;
  std::size_t FLidosNoPedido = 0;
  std::chrono::steady_clock::time_point FPrazoPedido;
  std::chrono::steady_clock::time_point FPrazoParada{};
};
