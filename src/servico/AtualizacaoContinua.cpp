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
  {
    std::lock_guard<std::mutex> trava(FMutex);
    FParar = true;
  }
  FSinal.notify_all();
  if (FThread.joinable()) FThread.join();
  if (FVigia.joinable()) FVigia.join();
}

void AtualizacaoContinua::Iniciar() {
  FThread = std::thread([this] { Rodar(); });
  FVigia = std::thread([this] { Vigiar(); });
}

bool AtualizacaoContinua::Parar(std::chrono::milliseconds prazo) {
  if (!FThread.joinable()) return true;
  std::unique_lock<std::mutex> trava(FMutex);
  FParar = true;
  FSinal.notify_all();
  if (!FSinal.wait_for(trava, prazo, [this] { return FTerminou; })) return false;
  trava.unlock();
  if (FThread.joinable()) FThread.join();
  if (FVigia.joinable()) FVigia.join();
  return true;
}

std::shared_ptr<const FotoStatus> AtualizacaoContinua::Foto() const {
  std::lock_guard<std::mutex> trava(FMutex);
  return FFoto;
}

void AtualizacaoContinua::Publicar(std::shared_ptr<FotoStatus> foto) {
  try {
    foto->Metricas = SaidaServico::Metricas(*foto).toStdString();
    foto->StatusJson = SaidaServico::StatusJson(*foto).toStdString();
    foto->Saude = SaidaServico::Saude(*foto).toStdString();
    std::shared_ptr<const FotoStatus> publicada = std::move(foto);
    {
      std::lock_guard<std::mutex> trava(FMutex);
      FFoto = publicada;
    }
    if (FObservador) FObservador(publicada);
  } catch (const std::exception& e) {
    // Out of memory while writing the answers: the previous ones stay.
    FRegistro(QStringLiteral("falha ao publicar a atualização: ") + QString::fromLocal8Bit(e.what()));
  }
}

bool AtualizacaoContinua::Esperar(std::chrono::steady_clock::time_point proxima) {
  std::unique_lock<std::mutex> trava(FMutex);
  return !FSinal.wait_until(trava, proxima, [this] { return FParar; });
}

void AtualizacaoContinua::MarcarLeitura(bool emAndamento) {
  {
    std::lock_guard<std::mutex> trava(FMutex);
    FLendo = emAndamento;
    if (emAndamento) {
      ++FLeitura;
      FInicioLeitura = std::chrono::steady_clock::now();
    }
  }
  FSinal.notify_all();
}

void AtualizacaoContinua::Rodar() {
  std::chrono::milliseconds periodo = FOpcoes.Periodo.count() > 0 ? FOpcoes.Periodo : kPeriodoInicial;
  // Everything that touches the database lives and dies on this thread.
  ConexaoBanco conexao;
  TabelaStatus tabela;
  AtualizacaoPainel atualizacao(conexao, tabela);
  for (;;) {
    const auto inicio = std::chrono::steady_clock::now();
    auto foto = std::make_shared<FotoStatus>(*Foto());
    MarcarLeitura(true);
    const QString erro = Ler(conexao, atualizacao, tabela, *foto, periodo);
    MarcarLeitura(false);
    foto->DuracaoSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    Concluir(std::move(foto), erro);
    if (!Esperar(inicio + periodo)) break;
  }
  std::lock_guard<std::mutex> trava(FMutex);
  FTerminou = true;
  FSinal.notify_all();
}

QString AtualizacaoContinua::Ler(ConexaoBanco& conexao, AtualizacaoPainel& atualizacao, TabelaStatus& tabela,
                                 FotoStatus& foto, std::chrono::milliseconds& periodo) {
  try {
    // A lost attachment counts as closed: attach again, with Caminho.ini
    // read afresh, so that a corrected configuration is taken too.
    if (!conexao.Aberta()) {
      if (FOpcoes.ArquivoNomeado) ConfiguracaoBanco::VerificarArquivoNomeado(FOpcoes.ArquivoIni);
      ConfiguracaoBanco::ConectarBanco(conexao, FOpcoes.ArquivoIni);
      atualizacao.SetContagemRapida(ConfiguracaoBanco::ContagemRapida(FOpcoes.ArquivoIni, FOpcoes.ContagemRapida));
      foto.MostraColunaMaquina = ParametrosPainel::MostraColunaMaquina(conexao);
    }
    if (FOpcoes.Periodo.count() == 0) periodo = std::chrono::seconds(ParametrosPainel::IntervaloInicial(conexao).toInt());
    atualizacao.Atualizar();
    foto.Linhas = std::make_shared<const std::vector<LinhaStatus>>(tabela.Linhas());
    return {};
  } catch (const Falha& falha) {
    return UmaLinha(falha.Mensagem());
  } catch (const std::bad_alloc&) {
    return QStringLiteral("Memória insuficiente para concluir a operação.");
  } catch (const std::exception& e) {
    return UmaLinha(QString::fromLocal8Bit(e.what()));
  }
}

void AtualizacaoContinua::Concluir(std::shared_ptr<FotoStatus> foto, const QString& erro) {
  std::lock_guard<std::mutex> publicacao(FMutexPublicacao);
  foto->BancoAcessivel = erro.isEmpty();
  foto->UltimoErro = erro;
  if (erro.isEmpty()) {
    foto->LinhasLidas = true;
    foto->LidasEm = QDateTime::currentDateTimeUtc();
    ++foto->Atualizacoes;
    if (FEstado == Estado::Inacessivel) FRegistro(QStringLiteral("banco acessível de novo"));
    else if (FEstado == Estado::Desconhecido)
      FRegistro(QStringLiteral("primeira leitura do banco: %1 linha(s)").arg(foto->Linhas->size()));
    FEstado = Estado::Acessivel;
  } else {
    ++foto->Falhas;
    if (FEstado != Estado::Inacessivel) FRegistro(QStringLiteral("banco inacessível: ") + erro);
    FEstado = Estado::Inacessivel;
  }
  Publicar(std::move(foto));
}

void AtualizacaoContinua::Vigiar() {
  std::unique_lock<std::mutex> trava(FMutex);
  while (!FParar) {
    if (!FLendo || FLeituraAbandonada == FLeitura) {
      FSinal.wait(trava);
      continue;
    }
    const bool declarada = FLeituraDeclarada == FLeitura;
    const auto limite = FInicioLeitura + (declarada ? FOpcoes.PrazoDesistencia : FOpcoes.PrazoResposta);
    if (std::chrono::steady_clock::now() < limite) {
      FSinal.wait_until(trava, limite);
      continue;
    }
    const quint64 leitura = FLeitura;
    const auto inicio = FInicioLeitura;
    if (declarada) FLeituraAbandonada = leitura;
    else FLeituraDeclarada = leitura;
    trava.unlock();
    if (!declarada) {
      DeclararSemResposta(leitura, inicio);
    } else {
      FRegistro(QStringLiteral("a leitura do banco não voltou em %1 s: desistindo dela")
                    .arg(std::chrono::duration_cast<std::chrono::seconds>(FOpcoes.PrazoDesistencia).count()));
      if (FOpcoes.Desistir) FOpcoes.Desistir();
    }
    trava.lock();
  }
}

void AtualizacaoContinua::DeclararSemResposta(quint64 leitura, std::chrono::steady_clock::time_point inicio) {
  std::lock_guard<std::mutex> publicacao(FMutexPublicacao);
  std::shared_ptr<FotoStatus> foto;
  {
    std::lock_guard<std::mutex> trava(FMutex);
    // Finished meanwhile: its own result is, or is about to be, published.
    if (!FLendo || FLeitura != leitura) return;
    foto = std::make_shared<FotoStatus>(*FFoto);
  }
  const auto decorridos = std::chrono::steady_clock::now() - inicio;
  foto->DuracaoSegundos = std::chrono::duration<double>(decorridos).count();
  foto->BancoAcessivel = false;
  foto->UltimoErro = QStringLiteral("O banco de dados não respondeu em %1 s; a leitura continua à espera.")
                         .arg(std::chrono::duration_cast<std::chrono::seconds>(decorridos).count());
  if (FEstado != Estado::Inacessivel) FRegistro(QStringLiteral("banco inacessível: ") + foto->UltimoErro);
  FEstado = Estado::Inacessivel;
  Publicar(std::move(foto));
}
