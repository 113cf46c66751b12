#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A route of the monitoring service: a path answered from what the
// service already holds in memory, never from the database.

struct PedidoHttp {
  std::string Caminho;  // without the query
  std::multimap<std::string, std::string> Parametros;  // of the query, decoded
};

struct RespostaHttp {
  int Status = 200;
  std::string TipoConteudo = "text/plain; charset=utf-8";
  std::string Corpo;
  std::vector<std::pair<std::string, std::string>> Cabecalhos;
};

// Runs on a request thread, concurrently with other requests: it may only
// read state that is immutable or guarded (a published FotoStatus).
using RotaHttp = std::function<RespostaHttp(const PedidoHttp&)>;
