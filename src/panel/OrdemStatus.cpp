#include "panel/OrdemStatus.h"

QList<CampoStatus> OrdemStatus::ChavesDoTitulo(CampoStatus campoDaColuna) {
  // The branch column shows "code - name", but it is the code that orders
  // the branches, and within a branch its machines.
  if (campoDaColuna == CampoStatus::NOME) return {CampoStatus::CODEMPRESA, CampoStatus::MAQUINAECF};
  if (campoDaColuna == CampoStatus::CODEMPRESA) return {CampoStatus::CODEMPRESA};
  return {campoDaColuna, CampoStatus::CODEMPRESA};
}

int OrdemStatus::CompararCampo(const LinhaStatus& a, const LinhaStatus& b, CampoStatus campo) {
  if (LinhaStatus::EhTexto(campo)) return QString::compare(a.Texto(campo), b.Texto(campo), Qt::CaseSensitive);
  if (LinhaStatus::EhData(campo)) {
    const QDateTime x = a.DataHora(campo), y = b.DataHora(campo);
    if (!x.isValid() || !y.isValid()) return int(x.isValid()) - int(y.isValid());
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  const qint32 x = a.Inteiro(campo), y = b.Inteiro(campo);
  return x < y ? -1 : (y < x ? 1 : 0);
}

int OrdemStatus::Comparar(const LinhaStatus& a, const LinhaStatus& b, const QList<CampoStatus>& chaves) {
  for (const CampoStatus campo : chaves)
    if (const int r = CompararCampo(a, b, campo); r != 0) return r;
  return 0;
}
