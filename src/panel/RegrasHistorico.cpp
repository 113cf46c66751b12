#include "panel/RegrasHistorico.h"

#include <algorithm>

namespace {

constexpr qint64 kMinutosHora = 60;
constexpr qint64 kMinutosDia = 24 * 60;

bool Reiniciou(const PontoHistorico& antes, const PontoHistorico& depois) {
  return depois.UltReceb < antes.UltReceb || depois.UltEnvio < antes.UltEnvio;
}

qint64 MinutoDe(const QDateTime& agora) {
  return agora.toSecsSinceEpoch() / HistoricoMaquina::kSegundosPorPonto;
}

}  // namespace

QString RegrasHistorico::Idade(const QDateTime& data, const QDateTime& agora) {
  return data.isValid() ? IdadeEmSegundos(agora.toSecsSinceEpoch() - data.toSecsSinceEpoch())
                        : QStringLiteral("nunca");
}

QString RegrasHistorico::Idade(quint32 segundosDaData, const QDateTime& agora) {
  return segundosDaData == 0 ? QStringLiteral("nunca") : IdadeEmSegundos(agora.toSecsSinceEpoch() - segundosDaData);
}

QString RegrasHistorico::IdadeEmSegundos(qint64 segundos) {
  if (segundos < 0) return QStringLiteral("no futuro");
  const qint64 minutos = segundos / 60;
  if (minutos < 1) return QStringLiteral("há menos de 1 min");
  if (minutos < kMinutosHora) return QStringLiteral("há %1 min").arg(minutos);
  if (minutos < 48 * kMinutosHora) return QStringLiteral("há %1 h").arg(minutos / kMinutosHora);
  return QStringLiteral("há %1 dias").arg(minutos / kMinutosDia);
}

qint32 RegrasHistorico::Valor(const PontoHistorico& ponto, Contagem contagem) {
  switch (contagem) {
    case Contagem::Receber:
      return ponto.Receber;
    case Contagem::Enviar:
      return ponto.Enviar;
    case Contagem::Fila:
      return ponto.Fila;
  }
  return 0;
}

RegrasHistorico::Tendencia RegrasHistorico::TendenciaDe(const HistoricoMaquina& historico, Contagem contagem,
                                                        const QDateTime& agora) {
  Tendencia tendencia;
  if (historico.Vazio()) return tendencia;
  const int ultimo = historico.QtdPontos() - 1;
  tendencia.Atual = Valor(historico.Ultimo(), contagem);

  // Back from the newest point while inside the window and within the same
  // run of the machine.
  const qint64 inicioJanela = MinutoDe(agora) - kMinutosTendencia;
  int primeiro = ultimo;
  while (primeiro > 0 && qint64(historico.Ponto(primeiro - 1).Minuto) >= inicioJanela &&
         !Reiniciou(historico.Ponto(primeiro - 1), historico.Ponto(primeiro)))
    --primeiro;
  if (qint64(historico.Ponto(primeiro).Minuto) < inicioJanela) return tendencia;

  tendencia.Minutos = qint64(historico.Ultimo().Minuto) - historico.Ponto(primeiro).Minuto;
  if (tendencia.Minutos < kMinutosMinimos) {
    tendencia.Minutos = 0;
    return tendencia;
  }
  tendencia.Variacao = tendencia.Atual - Valor(historico.Ponto(primeiro), contagem);
  tendencia.Direcao = tendencia.Variacao < 0   ? Sentido::Caindo
                      : tendencia.Variacao > 0 ? Sentido::Subindo
                                               : Sentido::Estavel;
  return tendencia;
}

QString RegrasHistorico::TextoTendencia(const Tendencia& tendencia) {
  const QString prefixo = QStringLiteral("Últimos %1 min: ").arg(kMinutosTendencia);
  switch (tendencia.Direcao) {
    case Sentido::SemDados:
      return prefixo + QStringLiteral("sem dados suficientes");
    case Sentido::Estavel:
      return prefixo + QStringLiteral("sem variação");
    case Sentido::Caindo:
      return prefixo + QStringLiteral("caiu %1 em %2 min").arg(-tendencia.Variacao).arg(tendencia.Minutos);
    case Sentido::Subindo:
      return prefixo + QStringLiteral("subiu %1 em %2 min").arg(tendencia.Variacao).arg(tendencia.Minutos);
  }
  return prefixo;
}

qint64 RegrasHistorico::MinutosParaZerar(const Tendencia& tendencia) {
  if (tendencia.Direcao != Sentido::Caindo || tendencia.Atual <= 0) return -1;
  // backlog / (fall per minute), rounded up: a backlog of 1 left is a minute.
  const qint64 queda = -tendencia.Variacao;
  return (tendencia.Atual * tendencia.Minutos + queda - 1) / queda;
}

QString RegrasHistorico::Previsao(const Tendencia& tendencia) {
  if (tendencia.Atual <= 0) return QStringLiteral("em dia");
  switch (tendencia.Direcao) {
    case Sentido::SemDados:
      return QStringLiteral("sem dados");
    case Sentido::Subindo:
      return QStringLiteral("crescendo");
    case Sentido::Estavel:
      return QStringLiteral("parado");
    case Sentido::Caindo:
      break;
  }
  const qint64 minutos = MinutosParaZerar(tendencia);
  if (minutos < 2 * kMinutosHora) return QStringLiteral("≈ %1 min").arg(minutos);
  if (minutos < 48 * kMinutosHora) return QStringLiteral("≈ %1 h").arg((minutos + kMinutosHora / 2) / kMinutosHora);
  return QStringLiteral("≈ %1 dias").arg((minutos + kMinutosDia / 2) / kMinutosDia);
}

QString RegrasHistorico::PrevisaoMaquina(const HistoricoMaquina& historico, const QDateTime& agora) {
  // Worse first: growing, stalled, unknown, then the longest estimate.
  int pior = 0;
  qint64 maisLonga = -1;
  Tendencia daMaisLonga;
  for (const Contagem contagem : {Contagem::Receber, Contagem::Enviar, Contagem::Fila}) {
    const Tendencia tendencia = TendenciaDe(historico, contagem, agora);
    if (tendencia.Atual <= 0) continue;
    const int gravidade = tendencia.Direcao == Sentido::Subindo    ? 4
                          : tendencia.Direcao == Sentido::Estavel  ? 3
                          : tendencia.Direcao == Sentido::SemDados ? 2
                                                                   : 1;
    pior = std::max(pior, gravidade);
    if (gravidade == 1 && MinutosParaZerar(tendencia) > maisLonga) {
      maisLonga = MinutosParaZerar(tendencia);
      daMaisLonga = tendencia;
    }
  }
  switch (pior) {
    case 0:
      return QStringLiteral("em dia");
    case 4:
      return QStringLiteral("crescendo");
    case 3:
      return QStringLiteral("parado");
    case 2:
      return QStringLiteral("sem dados");
  }
  return Previsao(daMaisLonga);
}

std::vector<std::pair<quint32, qint64>> RegrasHistorico::Grafico(const HistoricoMaquina& historico, int maximo) {
  std::vector<std::pair<quint32, qint64>> pontos;
  if (historico.Vazio() || maximo < 1) return pontos;
  const qint64 inicio = historico.Ponto(0).Minuto;
  const qint64 extensao = qint64(historico.Ultimo().Minuto) - inicio + 1;
  // Stretch of each point of the drawing; the last point of each stretch
  // stands for it, so the newest point is always drawn.
  for (int i = 0; i < historico.QtdPontos(); ++i) {
    const PontoHistorico& ponto = historico.Ponto(i);
    const qint64 trecho = (qint64(ponto.Minuto) - inicio) * maximo / extensao;
    const bool ultimoDoTrecho = i + 1 == historico.QtdPontos() ||
                                (qint64(historico.Ponto(i + 1).Minuto) - inicio) * maximo / extensao != trecho;
    if (ultimoDoTrecho) pontos.emplace_back(ponto.Minuto, ponto.Pendencias());
  }
  return pontos;
}
