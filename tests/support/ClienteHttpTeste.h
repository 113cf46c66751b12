#pragma once

#include <chrono>
#include <string>

// A bare TCP client for the service's tests: what a well-behaved HTTP
// client never sends (garbage, endless headers, silence) goes through here;
// well-formed requests go through the HTTP library's own client.
class ClienteHttpTeste {
 public:
  explicit ClienteHttpTeste(int porta);
  ~ClienteHttpTeste();
  ClienteHttpTeste(const ClienteHttpTeste&) = delete;
  ClienteHttpTeste& operator=(const ClienteHttpTeste&) = delete;

  bool Conectado() const { return FSoquete >= 0; }
  // False once the server has closed (or reset) the connection.
  bool Enviar(const std::string& bytes);
  // Everything received until the server closes, or until the time given
  // runs out (then Fechou() is false).
  std::string LerAteFechar(std::chrono::milliseconds espera);
  bool Fechou() const { return FFechou; }

 private:
  int FSoquete = -1;
  bool FFechou = false;
};
