#include "CenarioDemo.h"

const QDateTime kInstante(QDate(2026, 12, 7), QTime(10, 30, 0));

QString Sql(const QDateTime& momento) { return momento.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }
QString Br(const QDateTime& momento) { return momento.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")); }
QString Dinheiro(double valor) { return QString::number(valor, 'f', 2); }
QString Aspas(const QString& texto) { return u'\'' + QString(texto).replace(u'\'', QStringLiteral("''")) + u'\''; }

// Branch, machine, interval; minutes since the last receipt and sending;
// changes behind; deliveries pending; queue entries, of them pending and in
// error; open and acknowledged errors.
const QList<Maquina> kMaquinas = {
    {"01", "CX01", "30", 2, 1, 0, 0, 14, 0, 0, 0, 2},  // up to date
    {"01", "CX02", "30", 4, 3, 12, 2, 18, 2, 1, 2, 1},  // open errors
    {"01", "CX03", "60", 1, 7, 3, 0, 10, 1, 0, 0, 0},  // up to date
    {"01", "CX04", "60", 3 * 24 * 60 + 2, 3 * 24 * 60 + 4, kPeloTempo, 5, 22, 0, 4, 1, 0},  // stopped three days ago
    {"02", "CX01", "15", 1, 1, 0, 0, 12, 0, 0, 0, 2},  // up to date
    {"02", "CX02", "15", 6, 5, 40, 3, 20, 1, 3, 3, 2},  // open errors
    {"02", "CX03", "120", kNunca, kNunca, kNunca, 0, 0, 0, 0, 0, 0},  // installed, never synchronised
    {"03 ", "CX01", "30", 2, 2, 8, 1, 16, 2, 0, 0, 0},  // trailing blank in the branch code
    {"03 ", "CX02", "30", 9, kMeiaNoite, 20, 0, 12, 0, 1, 1, 0},  // last sending at midnight
    {"04", "CX01", "45", 3, 3, 5, 0, 15, 0, 0, 0, 3},  // every error acknowledged
    {"04", "CX02", "45", 38, 36, 60, 2, 18, 1, 1, 1, 1},  // one open error
    {"07", "CX01", "30", 12, 11, 30, 0, 8, 0, 1, 1, 0},  // branch missing from FILIAIS
};

bool Relevante(const Alteracao& a, const QString& filial) {
  return (a.Tabela != QLatin1String("TRANSFESTOQUE") && a.Tabela != QLatin1String("MVGERAL")) ||
         (a.Tabela == QLatin1String("TRANSFESTOQUE") && a.Chaves.value(3) == filial) ||
         (a.Tabela == QLatin1String("MVGERAL") && a.Chaves.value(0) == filial);
}
