#include "panel/VerificacaoStatus.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const char* kPrefixo = "PAINEL-INTEGRACAO";
constexpr int kMaquinasNaLinha = 10;

// A name goes into a one-line text whose "|" starts the performance data.
QString Limpo(const QString& texto) {
  QString saida = texto;
  for (QChar& c : saida)
    if (!c.isPrint() || c == u'|') c = u'?';
  return saida;
}

QString Maquina(const LinhaStatus& linha) {
  return Limpo(linha.CODEMPRESA.trimmed() + u'/' + linha.MAQUINAECF);
}

QString Lista(const QStringList& maquinas) {
  QString texto = maquinas.mid(0, kMaquinasNaLinha).join(QStringLiteral(", "));
  if (maquinas.size() > kMaquinasNaLinha)
    texto += QStringLiteral(" e mais %1").arg(maquinas.size() - kMaquinasNaLinha);
  return texto;
}

bool Antiga(const QDateTime& data, const QDateTime& limite) { return !data.isValid() || data < limite; }

}  // namespace

VerificacaoStatus::Resultado VerificacaoStatus::Verificar(const std::vector<LinhaStatus>& linhas,
                                                         qint64 idadeMaximaMinutos, const QDateTime& agora) {
  QStringList comErro, atrasadas;
  qint64 aEnviar = 0, naFila = 0, aReceber = 0;
  for (const LinhaStatus& linha : linhas) {
    if (linha.STATUSERRO == QLatin1String("Sim")) comErro << Maquina(linha);
    if (Atrasada(linha, idadeMaximaMinutos, agora)) atrasadas << Maquina(linha);
    aEnviar += linha.QTDREGENVIAR;
    naFila += linha.QTDREGFILA;
    aReceber += linha.QTDREGRECEB;
  }

  Resultado resultado{Ok, {}};
  QStringList partes;
  if (!comErro.isEmpty()) {
    resultado.CodigoSaida = Critico;
    partes << QStringLiteral("%1 máquina(s) com erros não conferidos: %2").arg(comErro.size()).arg(Lista(comErro));
  }
  if (!atrasadas.isEmpty()) {
    if (resultado.CodigoSaida == Ok) resultado.CodigoSaida = Alerta;
    partes << QStringLiteral("%1 máquina(s) sem recebimento ou envio há mais de %2 minuto(s): %3")
                  .arg(atrasadas.size())
                  .arg(idadeMaximaMinutos)
                  .arg(Lista(atrasadas));
  }
  // No row at all is no verdict: a database where no machine is joined to
  // a branch must not read as healthy.
  if (linhas.empty()) {
    resultado.CodigoSaida = Desconhecido;
    partes << QStringLiteral("nenhuma máquina ligada a uma filial no banco: nada a verificar");
  }
  if (partes.isEmpty()) partes << QStringLiteral("%1 máquina(s) em dia").arg(linhas.size());

  const char* estado = resultado.CodigoSaida == Desconhecido ? "UNKNOWN"
                       : resultado.CodigoSaida == Critico    ? "CRITICAL"
                       : resultado.CodigoSaida == Alerta     ? "WARNING"
                                                             : "OK";
  // Concatenated, not formatted: a machine name may hold "%1".
  resultado.Linha = QLatin1String(kPrefixo) + u' ' + QLatin1String(estado) + QStringLiteral(" - ") +
                    partes.join(QStringLiteral("; ")) +
                    QStringLiteral(" | maquinas=%1 com_erro=%2 atrasadas=%3 a_receber=%4 a_enviar=%5 na_fila=%6")
                        .arg(QString::number(linhas.size()), QString::number(comErro.size()),
                             QString::number(atrasadas.size()), QString::number(aReceber), QString::number(aEnviar),
                             QString::number(naFila));
  return resultado;
}

bool VerificacaoStatus::Atrasada(const LinhaStatus& linha, qint64 idadeMaximaMinutos, const QDateTime& agora) {
  const QDateTime limite = agora.addSecs(-idadeMaximaMinutos * 60);
  return Antiga(linha.ULTRECEB, limite) || Antiga(linha.ULTENVIO, limite);
}

VerificacaoStatus::Resultado VerificacaoStatus::Falhou(const QString& mensagem) {
  const QString primeira = mensagem.section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0);
  return {Desconhecido, QLatin1String(kPrefixo) + QStringLiteral(" UNKNOWN - ") + Limpo(primeira)};
}
