#pragma once

#include <QString>

class ConexaoBanco;

// The two panel parameters the database holds, read once at start, and the
// conversion of the interval the operator types into the timer's period.
namespace ParametrosPainel {

// "TEMPOATUALIZACAOPAINEL" as the text of the interval edit: "15" without a
// row or below 1, "99" from 100 on, the number itself in between.
QString IntervaloInicial(ConexaoBanco& conexao);

// True only for a "S" in the first row of PARAWEB, exactly.
bool MostraColunaMaquina(ConexaoBanco& conexao);

// Seconds as typed, by the platform's integer rules, times 1000 as an
// unsigned 32-bit number: a negative entry gives a period of weeks, 0 none.
// Text that is not an integer fails with "'%s' is not a valid integer value".
quint32 Periodo(const QString& texto);

// Whether the refreshes of this process count "A serem enviados" and
// "Registros na Fila" with the fast-count statements. Chosen once at start,
// from the command line, before the first refresh is built; off by default.
// The window and the command line also turn them on when Caminho.ini asks.
void DefinirContagemRapida(bool ligada);
bool ContagemRapida();

}  // namespace ParametrosPainel
