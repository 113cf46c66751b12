#include "panel/LinhaStatus.h"

#include "platform/Falha.h"

namespace {

[[noreturn]] void CampoErrado(CampoStatus campo, const char* tipo) {
  throw Falha(QStringLiteral("Campo %1 não é %2.").arg(LinhaStatus::NomeCampo(campo), QLatin1String(tipo)));
}

}  // namespace

QString LinhaStatus::NomeCampo(CampoStatus campo) {
  switch (campo) {
    case CampoStatus::CODEMPRESA: return QStringLiteral("CODEMPRESA");
    case CampoStatus::NOME: return QStringLiteral("NOME");
    case CampoStatus::MAQUINAECF: return QStringLiteral("MAQUINAECF");
    case CampoStatus::INTERVALO: return QStringLiteral("INTERVALO");
    case CampoStatus::QTDREGRECEB: return QStringLiteral("QTDREGRECEB");
    case CampoStatus::ULTRECEB: return QStringLiteral("ULTRECEB");
    case CampoStatus::ULTENVIO: return QStringLiteral("ULTENVIO");
    case CampoStatus::QTDREGENVIAR: return QStringLiteral("QTDREGENVIAR");
    case CampoStatus::STATUSERRO: return QStringLiteral("STATUSERRO");
    case CampoStatus::QTDREGFILA: return QStringLiteral("QTDREGFILA");
  }
  return {};
}

int LinhaStatus::Largura(CampoStatus campo) {
  switch (campo) {
    case CampoStatus::CODEMPRESA: return 2;
    case CampoStatus::NOME: return 35;
    case CampoStatus::MAQUINAECF: return 4;
    case CampoStatus::INTERVALO: return 5;
    default: return 0;
  }
}

bool LinhaStatus::EhTexto(CampoStatus campo) {
  return campo == CampoStatus::CODEMPRESA || campo == CampoStatus::NOME || campo == CampoStatus::MAQUINAECF ||
         campo == CampoStatus::INTERVALO || campo == CampoStatus::STATUSERRO;
}

bool LinhaStatus::EhData(CampoStatus campo) {
  return campo == CampoStatus::ULTRECEB || campo == CampoStatus::ULTENVIO;
}

void LinhaStatus::SetTexto(CampoStatus campo, const QString& texto) {
  const int largura = Largura(campo);
  const QString cortado = largura > 0 ? texto.left(largura) : texto;
  switch (campo) {
    case CampoStatus::CODEMPRESA: CODEMPRESA = cortado; break;
    case CampoStatus::NOME: NOME = cortado; break;
    case CampoStatus::MAQUINAECF: MAQUINAECF = cortado; break;
    case CampoStatus::INTERVALO: INTERVALO = cortado; break;
    case CampoStatus::STATUSERRO: STATUSERRO = cortado; break;
    default: CampoErrado(campo, "texto");
  }
}

void LinhaStatus::SetInteiro(CampoStatus campo, qint32 valor) {
  switch (campo) {
    case CampoStatus::QTDREGRECEB: QTDREGRECEB = valor; break;
    case CampoStatus::QTDREGENVIAR: QTDREGENVIAR = valor; break;
    case CampoStatus::QTDREGFILA: QTDREGFILA = valor; break;
    default: CampoErrado(campo, "inteiro");
  }
}

void LinhaStatus::SetDataHora(CampoStatus campo, const QDateTime& valor) {
  switch (campo) {
    case CampoStatus::ULTRECEB: ULTRECEB = valor; break;
    case CampoStatus::ULTENVIO: ULTENVIO = valor; break;
    default: CampoErrado(campo, "data");
  }
}

QString LinhaStatus::Texto(CampoStatus campo) const {
  switch (campo) {
    case CampoStatus::CODEMPRESA: return CODEMPRESA;
    case CampoStatus::NOME: return NOME;
    case CampoStatus::MAQUINAECF: return MAQUINAECF;
    case CampoStatus::INTERVALO: return INTERVALO;
    case CampoStatus::STATUSERRO: return STATUSERRO;
    default: CampoErrado(campo, "texto");
  }
}

qint32 LinhaStatus::Inteiro(CampoStatus campo) const {
  switch (campo) {
    case CampoStatus::QTDREGRECEB: return QTDREGRECEB;
    case CampoStatus::QTDREGENVIAR: return QTDREGENVIAR;
    case CampoStatus::QTDREGFILA: return QTDREGFILA;
    default: CampoErrado(campo, "inteiro");
  }
}

QDateTime LinhaStatus::DataHora(CampoStatus campo) const {
  switch (campo) {
    case CampoStatus::ULTRECEB: return ULTRECEB;
    case CampoStatus::ULTENVIO: return ULTENVIO;
    default: CampoErrado(campo, "data");
  }
}
