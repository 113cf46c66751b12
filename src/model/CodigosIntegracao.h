#pragma once

#include <QString>

// Coded values of the integration tables and the labels the operator reads.
namespace CodigosIntegracao {

// FILAINTEGOFFLINE.ACAO: "A", "I", "E", "P"; any other code has no label.
QString RotuloAcao(const QString& acao);

// FILAINTEGOFFLINE.STATUS.
enum StatusFila : int { NaoExecutado = 0, Executado = 1, ExecESinc = 2, Erro = 3 };
// 0 to 3 have labels; any other value has none.
QString RotuloStatus(qint64 status);
// Pending (0) and errored (3) entries are counted under "Registros na Fila".
bool ContaNaFila(qint64 status);

// INTEGERRO.CONFERIDO: only "N" makes an error open.
inline const QString Conferido = QStringLiteral("S");
inline const QString NaoConferido = QStringLiteral("N");

// MVINTEGGERAL.ACAO of a deletion.
inline const QString AcaoExclusao = QStringLiteral("E");

// STATUSERRO of the status statement.
inline const QString ComErro = QStringLiteral("Sim");
inline const QString SemErro = QStringLiteral("Não");

}  // namespace CodigosIntegracao
