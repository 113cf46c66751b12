// Load on a running monitoring service (painel-integracao --serve): many
// clients, each on a kept-alive connection, asking one path back to back for
// a while. Prints requests per second, latency percentiles, errors, and the
// refreshes the service made meanwhile (its own counter, read from /metrics
// before and after), which must stay one per period however many clients
// ask. A measurement, not a test: nothing is asserted.
//
//   medir-servico --porta=7431 [--endereco=127.0.0.1] [--clientes=32]
//                 [--segundos=20] [--caminho=/metrics]
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Opcoes {
  std::string Endereco = "127.0.0.1";
  int Porta = 7431;
  int Clientes = 32;
  int Segundos = 20;
  std::string Caminho = "/metrics";
};

bool Ler(int argc, char** argv, Opcoes& opcoes) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto valor = [&](const char* nome) -> const char* {
      const std::size_t n = std::strlen(nome);
      return arg.compare(0, n, nome) == 0 ? argv[i] + n : nullptr;
    };
    if (const char* v = valor("--endereco=")) opcoes.Endereco = v;
    else if (const char* v = valor("--porta=")) opcoes.Porta = std::atoi(v);
    else if (const char* v = valor("--clientes=")) opcoes.Clientes = std::atoi(v);
    else if (const char* v = valor("--segundos=")) opcoes.Segundos = std::atoi(v);
    else if (const char* v = valor("--caminho=")) opcoes.Caminho = v;
    else return false;
  }
  return opcoes.Porta > 0 && opcoes.Clientes > 0 && opcoes.Segundos > 0;
}

// A sample of the service's own metrics; -1 when absent.
double Amostra(const std::string& texto, const std::string& nome) {
  const std::string chave = "\n" + nome + " ";
  const std::size_t pos = texto.find(chave);
  return pos == std::string::npos ? -1 : std::atof(texto.c_str() + pos + chave.size());
}

std::string Metricas(const Opcoes& opcoes) {
  httplib::Client cliente(opcoes.Endereco, opcoes.Porta);
  auto resposta = cliente.Get("/metrics");
  return resposta && resposta->status == 200 ? "\n" + resposta->body : std::string();
}

std::string Carga() {
  std::ifstream arquivo("/proc/loadavg");
  std::string a, b, c;
  arquivo >> a >> b >> c;
  return a + " " + b + " " + c;
}

}  // namespace

int main(int argc, char** argv) {
  Opcoes opcoes;
  if (!Ler(argc, argv, opcoes)) {
    std::fprintf(stderr,
                 "uso: medir-servico --porta=PORTA [--endereco=127.0.0.1] [--clientes=32] [--segundos=20] "
                 "[--caminho=/metrics]\n");
    return 2;
  }
  const std::string antes = Metricas(opcoes);
  if (antes.empty()) {
    std::fprintf(stderr, "o serviço não respondeu em %s:%d/metrics\n", opcoes.Endereco.c_str(), opcoes.Porta);
    return 1;
  }
  std::printf("carga da máquina antes: %s\n", Carga().c_str());

  std::atomic<bool> parar{false};
  std::vector<std::vector<float>> latencias(static_cast<std::size_t>(opcoes.Clientes));
  std::vector<long> erros(static_cast<std::size_t>(opcoes.Clientes), 0);
  std::vector<std::thread> clientes;
  const auto inicio = std::chrono::steady_clock::now();
  for (int c = 0; c < opcoes.Clientes; ++c) {
    clientes.emplace_back([&, c] {
      httplib::Client cliente(opcoes.Endereco, opcoes.Porta);
      cliente.set_keep_alive(true);
      cliente.set_read_timeout(10, 0);
      auto& minhas = latencias[static_cast<std::size_t>(c)];
      minhas.reserve(200000);
      while (!parar.load(std::memory_order_relaxed)) {
        const auto t0 = std::chrono::steady_clock::now();
        auto resposta = cliente.Get(opcoes.Caminho);
        const auto t1 = std::chrono::steady_clock::now();
        if (!resposta || resposta->status != 200 || resposta->body.empty()) ++erros[static_cast<std::size_t>(c)];
        else minhas.push_back(std::chrono::duration<float, std::milli>(t1 - t0).count());
      }
    });
  }
  std::this_thread::sleep_for(std::chrono::seconds(opcoes.Segundos));
  parar = true;
  for (std::thread& t : clientes) t.join();
  const double decorrido = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  const std::string depois = Metricas(opcoes);
  std::printf("carga da máquina depois: %s\n", Carga().c_str());

  std::vector<float> todas;
  long totalErros = 0;
  for (std::size_t c = 0; c < latencias.size(); ++c) {
    todas.insert(todas.end(), latencias[c].begin(), latencias[c].end());
    totalErros += erros[c];
  }
  std::sort(todas.begin(), todas.end());
  auto percentil = [&](double p) {
    return todas.empty() ? 0.0 : double(todas[std::min(todas.size() - 1, std::size_t(p * double(todas.size())))]);
  };
  const double atualizacoes = Amostra(depois, "painel_integracao_atualizacoes_total") -
                              Amostra(antes, "painel_integracao_atualizacoes_total");
  const double falhas = Amostra(depois, "painel_integracao_atualizacao_falhas_total") -
                        Amostra(antes, "painel_integracao_atualizacao_falhas_total");
  std::printf("%s%s: %d clientes com conexão mantida, %.1f s\n", opcoes.Endereco.c_str(), opcoes.Caminho.c_str(),
              opcoes.Clientes, decorrido);
  std::printf("pedidos: %zu respondidos (%.0f por segundo), erros: %ld\n", todas.size(),
              double(todas.size()) / decorrido, totalErros);
  std::printf("latência: p50 %.2f ms, p90 %.2f ms, p99 %.2f ms, máxima %.2f ms\n", percentil(0.50),
              percentil(0.90), percentil(0.99), todas.empty() ? 0.0 : double(todas.back()));
  std::printf("atualizações do serviço no período: %.0f (%.0f falhas), uma a cada %.2f s\n", atualizacoes, falhas,
              atualizacoes > 0 ? decorrido / atualizacoes : 0.0);
  return totalErros == 0 ? 0 : 1;
}
