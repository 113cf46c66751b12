#include "servico/PaginaServico.h"

#include "panel/FormatoDataHora.h"
#include "panel/RecursosPagina.h"
#include "panel/SaidaPagina.h"

namespace {

RespostaHttp Resposta(int status, const char* tipo, std::string corpo) {
  RespostaHttp resposta;
  resposta.Status = status;
  resposta.TipoConteudo = tipo;
  resposta.Corpo = std::move(corpo);
  // ServidorHttp already sends no-store and nosniff with every answer.
  resposta.Cabecalhos = {{"Content-Security-Policy", RecursosPagina::kPoliticaSeguranca},
                         {"Referrer-Policy", "no-referrer"}};
  return resposta;
}

std::string Parametro(const PedidoHttp& pedido, const char* nome, bool& presente) {
  const auto it = pedido.Parametros.find(nome);
  presente = it != pedido.Parametros.end();
  return presente ? it->second : std::string();
}

}  // namespace

PaginaServico::PaginaServico(Opcoes opcoes) : FOpcoes(opcoes) {
  // The time format is read once, here, before any other thread could.
  FormatoDataHora::FormatoHora();
  SaidaPagina::Estado vazio;
  vazio.IdadeMaximaMinutos = FOpcoes.IdadeMaximaMinutos;
  vazio.AtualizarSegundos = FOpcoes.AtualizarSegundos;
  const QByteArray json = SaidaPagina::Painel(vazio, FHistorico, QDateTime::currentDateTime());
  FPainel = std::make_shared<const std::string>(json.toStdString());
}

void PaginaServico::Publicada(const FotoStatus& foto, const QDateTime& agora) {
  // A sample per successful refresh; a failed one publishes the previous
  // rows again, which must not count as a new reading.
  if (foto.BancoAcessivel) {
    FInacessivelDesde = QDateTime();
    if (foto.LinhasLidas && foto.LidasEm != FUltimaLeitura) {
      FHistorico.Registrar(*foto.Linhas, foto.LidasEm);
      FUltimaLeitura = foto.LidasEm;
    }
  } else if (!FInacessivelDesde.isValid()) {
    FInacessivelDesde = agora;
  }

  SaidaPagina::Estado estado;
  if (foto.Linhas) estado.Linhas = *foto.Linhas;
  estado.MostrarMaquina = foto.MostraColunaMaquina;
  if (foto.LidasEm.isValid()) estado.LidasEm = foto.LidasEm.toLocalTime();
  estado.InacessivelDesde = FInacessivelDesde;
  estado.Erro = foto.UltimoErro;
  estado.IdadeMaximaMinutos = FOpcoes.IdadeMaximaMinutos;
  estado.AtualizarSegundos = FOpcoes.AtualizarSegundos;
  auto json = std::make_shared<const std::string>(SaidaPagina::Painel(estado, FHistorico, agora).toStdString());
  std::lock_guard trava(FTrava);
  FPainel = std::move(json);
}

RespostaHttp PaginaServico::Responder(const PedidoHttp& pedido) const {
  if (pedido.Caminho == "/painel.json") {
    std::shared_ptr<const std::string> painel;
    {
      std::lock_guard trava(FTrava);
      painel = FPainel;
    }
    return Resposta(200, "application/json", *painel);
  }
  if (pedido.Caminho == "/history.json") return HistoricoJson(pedido);
  return Arquivo(pedido.Caminho);
}

RespostaHttp PaginaServico::Arquivo(const std::string& caminho) const {
  RecursosPagina::Arquivo arquivo;
  if (!RecursosPagina::Ler(QString::fromStdString(caminho), arquivo))
    return Resposta(404, "text/plain; charset=utf-8", "não encontrado\n");
  RespostaHttp resposta = Resposta(200, "", arquivo.Corpo.toStdString());
  resposta.TipoConteudo = arquivo.Tipo.toStdString();
  return resposta;
}

RespostaHttp PaginaServico::HistoricoJson(const PedidoHttp& pedido) const {
  bool temFilial = false, temMaquina = false;
  const std::string filial = Parametro(pedido, "filial", temFilial);
  const std::string maquina = Parametro(pedido, "maquina", temMaquina);
  QByteArray json;
  if (!temFilial || !temMaquina ||
      !SaidaPagina::Historico(FHistorico, QString::fromStdString(filial), QString::fromStdString(maquina), json))
    return Resposta(404, "text/plain; charset=utf-8", "máquina desconhecida\n");
  return Resposta(200, "application/json", json.toStdString());
}
