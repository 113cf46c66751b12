#include "usage/TFuncoes.h"

#include "platform/NomeComputador.h"

QString TFuncoes::getNomeComputador() { return NomeComputador::Obter(); }

QString TFuncoes::FormatarCpfCnpj(const QString& numero) {
  // '0' takes the next character of the number, anything else is written as is.
  const QString mascara = numero.size() >= 12 ? QStringLiteral("00.000.000/0000-00") : QStringLiteral("000.000.000-00");
  QString saida;
  saida.reserve(mascara.size() + numero.size());
  qsizetype proximo = 0;
  for (QChar posicao : mascara) {
    if (posicao != u'0')
      saida += posicao;
    else
      saida += proximo < numero.size() ? numero[proximo++] : QChar(u' ');
  }
  saida += numero.mid(proximo);
  return saida;
}
