#include "panel/ColunaGrid.h"

const QList<ColunaGrid>& ColunaGrid::Todas() {
  static const QList<ColunaGrid> colunas = {
      {QStringLiteral("Filial"), CampoStatus::NOME, 225, Qt::AlignLeft, false},
      {QStringLiteral("Maq. ECF"), CampoStatus::MAQUINAECF, 0, Qt::AlignLeft, true},
      {QStringLiteral("Erro?"), CampoStatus::STATUSERRO, 40, Qt::AlignLeft, false},
      {QStringLiteral("Intervalo"), CampoStatus::INTERVALO, 75, Qt::AlignHCenter, false},
      {QStringLiteral("Último Recebimento"), CampoStatus::ULTRECEB, 135, Qt::AlignLeft, false},
      {QStringLiteral("Último Envio"), CampoStatus::ULTENVIO, 130, Qt::AlignLeft, false},
      {QStringLiteral("A serem recebidos"), CampoStatus::QTDREGRECEB, 115, Qt::AlignHCenter, false},
      {QStringLiteral("A serem enviados"), CampoStatus::QTDREGENVIAR, 122, Qt::AlignHCenter, false},
      {QStringLiteral("Registros na Fila"), CampoStatus::QTDREGFILA, 114, Qt::AlignRight, true},
  };
  return colunas;
}

int ColunaGrid::IndiceDe(CampoStatus campo) {
  const auto& colunas = Todas();
  for (int i = 0; i < colunas.size(); ++i)
    if (colunas[i].Campo == campo) return i;
  return -1;
}
