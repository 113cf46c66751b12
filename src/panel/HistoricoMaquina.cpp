#include "panel/HistoricoMaquina.h"

#include <algorithm>

#include "panel/LinhaStatus.h"

namespace {

quint32 SegundosDaData(const QDateTime& data) {
  return data.isValid() ? HistoricoMaquina::Segundos(data.toSecsSinceEpoch()) : 0;
}

}  // namespace

HistoricoMaquina::HistoricoMaquina(const HistoricoMaquina& outro) : FInicio(outro.FInicio), FQtd(outro.FQtd) {
  if (!outro.FPontos) return;
  FPontos = std::make_unique<PontoHistorico[]>(kPontos);
  std::copy(outro.FPontos.get(), outro.FPontos.get() + kPontos, FPontos.get());
}

HistoricoMaquina& HistoricoMaquina::operator=(const HistoricoMaquina& outro) {
  if (this != &outro) *this = HistoricoMaquina(outro);
  return *this;
}

quint32 HistoricoMaquina::Segundos(qint64 segundosDesdeEpoca) {
  // A date before 1970 is still a date: it must not read as absent.
  return static_cast<quint32>(std::clamp<qint64>(segundosDesdeEpoca, 1, 0xFFFFFFFF));
}

void HistoricoMaquina::Registrar(const LinhaStatus& linha, qint64 segundos) {
  PontoHistorico ponto;
  ponto.Minuto = static_cast<quint32>(std::max<qint64>(segundos, 0) / kSegundosPorPonto);
  ponto.Receber = linha.QTDREGRECEB;
  ponto.Enviar = linha.QTDREGENVIAR;
  ponto.Fila = linha.QTDREGFILA;
  ponto.UltReceb = SegundosDaData(linha.ULTRECEB);
  ponto.UltEnvio = SegundosDaData(linha.ULTENVIO);
  ponto.Erro = linha.STATUSERRO == QLatin1String("Sim");

  if (!FPontos) FPontos = std::make_unique<PontoHistorico[]>(kPontos);
  if (FQtd > 0) {
    const PontoHistorico& ultimo = Ultimo();
    if (ponto.Minuto == ultimo.Minuto) {
      FPontos[(FInicio + FQtd - 1) % kPontos] = ponto;
      return;
    }
    if (ponto.Minuto < ultimo.Minuto) FInicio = FQtd = 0;
  }
  // Points older than the window leave as new ones come; the ring holds at
  // most one point per minute of it.
  while (FQtd > 0 && Ponto(0).Minuto + kPontos <= ponto.Minuto) {
    FInicio = (FInicio + 1) % kPontos;
    --FQtd;
  }
  if (FQtd == kPontos) {
    FInicio = (FInicio + 1) % kPontos;
    --FQtd;
  }
  FPontos[(FInicio + FQtd) % kPontos] = ponto;
  ++FQtd;
}
