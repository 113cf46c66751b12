#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "servico/RotaHttp.h"

// The HTTP front of the monitoring service, over cpp-httplib: GET and HEAD
// on the routes added (HEAD gives the headers alone), 405 for any other
// method, 404 for any other path, 400/414 for what the library cannot
// parse. The library parses; this class puts the bounds around it: a cap on
// simultaneous connections (one worker thread each, 503 beyond), a time and
// a size limit on receiving each request, a limit on the wait between the
// requests of a kept-alive connection and on the requests it may carry, and
// an orderly stop.
//
// Threads: the constructor, AdicionarRota, Iniciar, Parar and the
// destructor on the owner's thread; routes run on the worker threads.
class ServidorHttp {
 public:
  struct Opcoes {
    std::string Endereco = "127.0.0.1";
    int Porta = 0;  // 0: any free port (Porta() tells which)
    std::size_t MaximoConexoes = 64;
    std::chrono::milliseconds Pedido{5000};
    std::chrono::milliseconds Escrita{5000};
    std::chrono::milliseconds EsperaEntrePedidos{5000};
    std::size_t BytesPorPedido = 16 * 1024;
    std::size_t PedidosPorConexao = 1000;
  };

  explicit ServidorHttp(Opcoes opcoes);
  ~ServidorHttp();
  ServidorHttp(const ServidorHttp&) = delete;
  ServidorHttp& operator=(const ServidorHttp&) = delete;

  // Before Iniciar only.
  void AdicionarRota(const std::string& caminho, RotaHttp rota);

  // Binds and starts accepting; fails (Falha) when the address cannot be
  // bound.
  void Iniciar();
  // Stops accepting, abandons requests not yet received, lets the answers
  // being written finish (one second at most) and joins every thread.
  void Parar();

  int Porta() const { return FPorta; }
  const std::string& Endereco() const { return FOpcoes.Endereco; }

 private:
  class Biblioteca;

  const Opcoes FOpcoes;
  std::map<std::string, RotaHttp> FRotas;
  std::unique_ptr<Biblioteca> FServidor;
  std::thread FEscuta;
  std::atomic<bool> FEscutaTerminou{false};
  int FPorta = 0;
};
