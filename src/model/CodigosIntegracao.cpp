#include "model/CodigosIntegracao.h"

namespace CodigosIntegracao {

QString RotuloAcao(const QString& acao) {
  if (acao == u"A") return QStringLiteral("Alteração");
  if (acao == u"I") return QStringLiteral("Inclusão");
  if (acao == u"E") return QStringLiteral("Exclusão");
  if (acao == u"P") return QStringLiteral("Procedure");
  return {};
}

QString RotuloStatus(qint64 status) {
  switch (status) {
    case NaoExecutado: return QStringLiteral("Não Executado");
    case Executado: return QStringLiteral("Executado");
    case ExecESinc: return QStringLiteral("Exec. e Sinc");
    case Erro: return QStringLiteral("Erro");
    default: return {};
  }
}

bool ContaNaFila(qint64 status) { return status == NaoExecutado || status == Erro; }

}  // namespace CodigosIntegracao
