#include "servico/AtualizacaoContinua.h"

#include <new>

#include "app/ConfiguracaoBanco.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/ParametrosPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"
#include "servico/SaidaServico.h"

namespace {

// The connection message spans lines; a log line and a health answer do not.
QString UmaLinha(const QString& texto) { return texto.simplified(); }

// The panel's default period, until the database has said its own.
constexpr std::chrono::seconds kPeriodoInicial{15};

}  // namespace

AtualizacaoContinua::AtualizacaoContinua(Opcoes opcoes, Registro registro)
    : FOpcoes(std::move(opcoes)), FRegistro(std::move(registro)) {
  auto inicial = std::make_shared<FotoStatus>();
  inicial->Linhas = std::make_shared<const std::vector<LinhaStatus>>();
  inicial->Metricas = SaidaServico::Metricas(*inicial).toStdString();
  inicial->StatusJson = SaidaServico::StatusJson(*inicial).toStdString();
  inicial->Saude = SaidaServico::Saude(*inicial).toStdString();
  FFoto = std::move(inicial);
}

AtualizacaoContinua::~AtualizacaoContinua() {
  if (FThread.joinable()) {
    {
      std::lock_guard<std::mutex> trava(FMutex);
      FParar = true;
    }
    FSinal.notify_all();
    FThread.join();
  }
}

void AtualizacaoContinua::Iniciar() { FThread = std::thread([this] { Rodar(); }); }

bool AtualizacaoContinua::Parar(std::chrono::milliseconds prazo) {
  if (!FThread.joinable()) return true;
  std::unique_lock<std::mutex> trava(FMutex);
  FParar = true;
  FSinal.notify_all();
  if (!FSinal.wait_for(trava, prazo, [this] { return FTerminou; })) return false;
  trava.unlock();
  if (FThread.joinable()) FThread.join();
  return true;
}

std::shared_ptr<const FotoStatus> AtualizacaoContinua::Foto() const {
  std::lock_guard<std::mutex> trava(FMutex);
  return FFoto;
}

void AtualizacaoContinua::Publicar(std::shared_ptr<FotoStatus> foto) {
  foto->Metricas = SaidaServico::Metricas(*foto).toStdString();
  foto->StatusJson = SaidaServico::StatusJson(*foto).toStdString();
  foto->Saude = SaidaServico::Saude(*foto).toStdString();
  std::shared_ptr<const FotoStatus> publicada = std::move(foto);
  {
    std::lock_guard<std::mutex> trava(FMutex);
    FFoto = publicada;
  }
  if (FObservador) FObservador(publicada);
}

bool AtualizacaoContinua::Esperar(std::chrono::steady_clock::time_point proxima) {
  std::unique_lock<std::mutex> trava(FMutex);
  return !FSinal.wait_until(trava, proxima, [this] { return FParar; });
}

void AtualizacaoContinua::Rodar() {
  enum class Estado { Desconhecido, Acessivel, Inacessivel } estado = Estado::Desconhecido;
  std::chrono::milliseconds periodo = FOpcoes.Periodo.count() > 0 ? FOpcoes.Periodo : kPeriodoInicial;
  // Everything that touches the database lives and dies on this thread.
  ConexaoBanco conexao;
  TabelaStatus tabela;
  AtualizacaoPainel atualizacao(conexao, tabela);
  for (;;) {
    const auto inicio = std::chrono::steady_clock::now();
    auto foto = std::make_shared<FotoStatus>(*Foto());
    QString erro;
    try {
      // A lost attachment counts as closed: attach again, with Caminho.ini
      // read afresh, so that a corrected configuration is taken too.
      if (!conexao.Aberta()) {
        if (FOpcoes.ArquivoNomeado) ConfiguracaoBanco::VerificarArquivoNomeado(FOpcoes.ArquivoIni);
        ConfiguracaoBanco::ConectarBanco(conexao, FOpcoes.ArquivoIni);
        atualizacao.SetContagemRapida(ConfiguracaoBanco::ContagemRapida(FOpcoes.ArquivoIni, FOpcoes.ContagemRapida));
        foto->MostraColunaMaquina = ParametrosPainel::MostraColunaMaquina(conexao);
      }
      if (FOpcoes.Periodo.count() == 0)
        periodo = std::chrono::seconds(ParametrosPainel::IntervaloInicial(conexao).toInt());
      atualizacao.Atualizar();
      foto->Linhas = std::make_shared<const std::vector<LinhaStatus>>(tabela.Linhas());
    } catch (const Falha& falha) {
      erro = UmaLinha(falha.Mensagem());
    } catch (const std::bad_alloc&) {
      erro = QStringLiteral("Memória insuficiente para concluir a operação.");
    } catch (const std::exception& e) {
      erro = UmaLinha(QString::fromLocal8Bit(e.what()));
    }
    foto->DuracaoSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    foto->BancoAcessivel = erro.isEmpty();
    foto->UltimoErro = erro;
    if (erro.isEmpty()) {
      foto->LinhasLidas = true;
      foto->LidasEm = QDateTime::currentDateTimeUtc();
      ++foto->Atualizacoes;
      if (estado == Estado::Inacessivel) FRegistro(QStringLiteral("banco acessível de novo"));
      else if (estado == Estado::Desconhecido)
        FRegistro(QStringLiteral("primeira leitura do banco: %1 linha(s)").arg(foto->Linhas->size()));
      estado = Estado::Acessivel;
    } else {
      ++foto->Falhas;
      if (estado != Estado::Inacessivel) FRegistro(QStringLiteral("banco inacessível: ") + erro);
      estado = Estado::Inacessivel;
    }
    try {
      Publicar(std::move(foto));
    } catch (const std::exception& e) {
      // Out of memory while writing the answers: the previous ones stay.
      FRegistro(QStringLiteral("falha ao publicar a atualização: ") + QString::fromLocal8Bit(e.what()));
    }
    if (!Esperar(inicio + periodo)) break;
  }
  std::lock_guard<std::mutex> trava(FMutex);
  FTerminou = true;
  FSinal.notify_all();
}
