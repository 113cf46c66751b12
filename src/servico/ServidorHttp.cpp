#include "servico/ServidorHttp.h"

#include <httplib.h>

#include <QString>

#include "platform/Falha.h"
#include "platform/SoqueteTcp.h"
#include "servico/FluxoConexao.h"
#include "servico/PoolConexoes.h"

namespace {

constexpr char kTexto[] = "text/plain; charset=utf-8";

// The status of the last answer written on this thread's connection.
thread_local int tUltimoStatus = 0;

// After these the bytes that follow on the connection are no request (a
// body left unread, a line cut short): the connection ends with the answer.
bool EncerraConexao(int status) {
  return status == 400 || status == 405 || status == 413 || status == 414 || status == 431 || status >= 500;
}

// Written whole without reading the request: the connection is refused.
void RecusarOcupado(socket_t soquete) {
  static const std::string kCorpo = "Serviço ocupado, tente em seguida.\n";
  static const std::string kResposta =
      "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
      std::to_string(kCorpo.size()) + "\r\nRetry-After: 1\r\nConnection: close\r\n\r\n" + kCorpo;
  SoqueteTcp::Enviar(soquete, kResposta.data(), kResposta.size());
  SoqueteTcp::Encerrar(soquete);
}

const char* TextoDoStatus(int status) {
  switch (status) {
    case 400: return "Pedido malformado.\n";
    case 404: return "Não encontrado.\n";
    case 405: return "Método não permitido: use GET ou HEAD.\n";
    case 413: return "Pedido grande demais.\n";
    case 414: return "Endereço grande demais.\n";
    default: return "Erro.\n";
  }
}

}  // namespace

class ServidorHttp::Biblioteca : public httplib::Server {
 public:
  Biblioteca(const Opcoes& opcoes, const std::map<std::string, RotaHttp>& rotas) : FOpcoes(opcoes), FRotas(rotas) {
    const std::size_t trabalhadores = opcoes.MaximoConexoes;
    new_task_queue = [trabalhadores] { return new PoolConexoes(trabalhadores); };
    set_payload_max_length(opcoes.BytesPorPedido);
    set_tcp_nodelay(true);
    // The library's default also sets SO_REUSEPORT: a second service on
    // the same port would bind without error and take half the clients.
    set_socket_options([](socket_t soquete) { SoqueteTcp::OpcoesEscuta(soquete); });
    set_keep_alive_max_count(opcoes.PedidosPorConexao);
    set_keep_alive_timeout(std::max<time_t>(1, opcoes.EsperaEntrePedidos.count() / 1000));
    set_default_headers({{"Cache-Control", "no-store"}, {"X-Content-Type-Options", "nosniff"}});
    set_pre_routing_handler([this](const httplib::Request& pedido, httplib::Response& resposta) {
      Rotear(pedido, resposta);
      return HandlerResponse::Handled;
    });
    set_error_handler([](const httplib::Request&, httplib::Response& resposta) {
      if (resposta.body.empty()) resposta.set_content(TextoDoStatus(resposta.status), kTexto);
    });
    set_logger([](const httplib::Request&, const httplib::Response& resposta) { tUltimoStatus = resposta.status; });
    set_exception_handler([](const httplib::Request&, httplib::Response& resposta, std::exception_ptr) {
      resposta.status = 500;
      resposta.set_content("Erro interno.\n", kTexto);
    });
  }

  bool Parando() const { return svr_sock_ == INVALID_SOCKET; }

 private:
  void Rotear(const httplib::Request& pedido, httplib::Response& resposta) {
    if (pedido.method != "GET" && pedido.method != "HEAD") {
      resposta.status = 405;
      resposta.set_header("Allow", "GET, HEAD");
      resposta.set_content(TextoDoStatus(405), kTexto);
      return;
    }
    const auto rota = FRotas.find(pedido.path);
    if (rota == FRotas.end()) {
      resposta.status = 404;
      resposta.set_content(TextoDoStatus(404), kTexto);
      return;
    }
    try {
      RespostaHttp saida = rota->second(PedidoHttp{pedido.path, pedido.params});
      resposta.status = saida.Status;
      for (const auto& [nome, valor] : saida.Cabecalhos) resposta.set_header(nome.c_str(), valor);
      resposta.set_content(std::move(saida.Corpo), saida.TipoConteudo.c_str());
    } catch (...) {
      resposta.status = 500;
      resposta.set_content("Erro interno.\n", kTexto);
    }
  }

  // Overrides the library's connection loop (a private virtual, which may
  // be overridden though not called) to run the same loop over
  // FluxoConexao's bounds.
  bool process_and_close_socket(socket_t soquete) override {
    if (PoolConexoes::Recusando()) {
      RecusarOcupado(soquete);
      return true;
    }
    FluxoConexao fluxo(soquete, {FOpcoes.Pedido, FOpcoes.Escrita, FOpcoes.BytesPorPedido},
                       [this] { return Parando(); });
    for (std::size_t n = 1; n <= FOpcoes.PedidosPorConexao; ++n) {
      if (!fluxo.AguardarPedido(FOpcoes.EsperaEntrePedidos)) break;
      fluxo.NovoPedido();
      tUltimoStatus = 0;
      bool fechada = false;
      const bool ultima = n == FOpcoes.PedidosPorConexao || Parando();
      if (!process_request(fluxo, ultima, fechada, nullptr) || fechada || EncerraConexao(tUltimoStatus) || ultima)
        break;
    }
    SoqueteTcp::Encerrar(soquete);
    return true;
  }

  const Opcoes& FOpcoes;
  const std::map<std::string, RotaHttp>& FRotas;
};

ServidorHttp::ServidorHttp(Opcoes opcoes) : FOpcoes(std::move(opcoes)) {}

ServidorHttp::~ServidorHttp() { Parar(); }

void ServidorHttp::AdicionarRota(const std::string& caminho, RotaHttp rota) { FRotas[caminho] = std::move(rota); }

void ServidorHttp::Iniciar() {
  FServidor = std::make_unique<Biblioteca>(FOpcoes, FRotas);
  if (FOpcoes.Porta == 0) {
    FPorta = FServidor->bind_to_any_port(FOpcoes.Endereco);
  } else if (FServidor->bind_to_port(FOpcoes.Endereco, FOpcoes.Porta)) {
    FPorta = FOpcoes.Porta;
  }
  if (FPorta <= 0) {
    FServidor.reset();
    throw Falha(QStringLiteral("Não foi possível escutar em %1:%2 (endereço inválido, porta em uso ou sem permissão).")
                    .arg(QString::fromStdString(FOpcoes.Endereco))
                    .arg(FOpcoes.Porta));
  }
  FEscutaTerminou = false;
  FEscuta = std::thread([this] {
    FServidor->listen_after_bind();
    FEscutaTerminou = true;
  });
  // stop() does nothing until the accepting loop runs: wait for it.
  while (!FServidor->is_running() && !FEscutaTerminou) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void ServidorHttp::Parar() {
  if (!FServidor) return;
  FServidor->stop();
  if (FEscuta.joinable()) FEscuta.join();
  FServidor.reset();
}
