#include "panel/HistoricoStatus.h"

HistoricoStatus::HistoricoStatus() : FRelogio([] { return QDateTime::currentDateTime(); }) {}

QString HistoricoStatus::Chave(const QString& codEmpresa, const QString& maquinaEcf) {
  // The unit separator cannot be typed into either field.
  return codEmpresa.trimmed() + QChar(0x1F) + maquinaEcf;
}

void HistoricoStatus::Registrar(const std::vector<LinhaStatus>& linhas, const QDateTime& agora) {
  const qint64 segundos = agora.toSecsSinceEpoch();
  const quint32 minuto = static_cast<quint32>(std::max<qint64>(segundos, 0) / HistoricoMaquina::kSegundosPorPonto);
  QWriteLocker trava(&FTrava);
  for (const LinhaStatus& linha : linhas) FMaquinas[Chave(linha.CODEMPRESA, linha.MAQUINAECF)].Registrar(linha, segundos);
  for (auto it = FMaquinas.begin(); it != FMaquinas.end();) {
    if (it->Ultimo().Minuto + HistoricoMaquina::kPontos <= minuto) it = FMaquinas.erase(it);
    else ++it;
  }
}

bool HistoricoStatus::Ler(const QString& codEmpresa, const QString& maquinaEcf,
                          const std::function<void(const HistoricoMaquina&)>& leitura) const {
  QReadLocker trava(&FTrava);
  const auto it = FMaquinas.constFind(Chave(codEmpresa, maquinaEcf));
  if (it == FMaquinas.cend() || it->Vazio()) return false;
  leitura(*it);
  return true;
}

int HistoricoStatus::QtdMaquinas() const {
  QReadLocker trava(&FTrava);
  return static_cast<int>(FMaquinas.size());
}

QDateTime HistoricoStatus::Agora() const {
  QReadLocker trava(&FTrava);
  return FRelogio();
}

void HistoricoStatus::DefinirRelogio(std::function<QDateTime()> relogio) {
  QWriteLocker trava(&FTrava);
  FRelogio = std::move(relogio);
}
