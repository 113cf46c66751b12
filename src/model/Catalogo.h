#pragma once

#include <QString>
#include <QStringList>

// Every statement the panel issues, each in one place, verbatim. Values are
// always bound through the named parameters; nothing is spliced into a text.
namespace Catalogo {

// 1. Status rows with the open-error flag.
QString StatusMaquinas();
// 2. Records still to send to one machine (:MAQUINA, :MAQUINAECF).
QString RegistrosEnviar();
// 3. Queue entries waiting or in error for one machine (:pCodEmpresa, :pMaqECF).
QString RegistrosFila();
// 4. Panel refresh interval.
QString IntervaloPainel();
// 5. Web-service flag.
QString UsaWebService();
// 6. Next records to send (:PMaquina, :PMaqECF): the first 15, or all.
QString ProximosRegistros();
QString ProximosRegistrosTodos();
// 7. Last 15 records sent (:PMaquina, :PMaqECF).
QString RegistrosEnviados();
// 8. Last 15 records received (:pCodEmpresa, :pMaqECF).
QString RegistrosRecebidos();
// 9. Primary-key columns of a table (:TABELA).
QString ChavePrimaria();
// 10. Errors of one machine (:PCodEmpresa, :PMaqECF), built by lines: the
// select, the open-only filter line when asked for, the order. The lines are
// joined by CR LF, as a statement edited line by line keeps them.
QString Erros(bool soNaoConferidos);
QString ErrosNaoConferidos();  // Erros(true)
QString ErrosTodos();          // Erros(false)
// 11. Send errored queue entries back to pending.
QString ReprocessarErros();
// 12. Mark one error (:PConferido, :PCodEmpresa, :PMaqECF, :PIdIntegErro).
QString GravarConferido();
// 13. Delete the branch's errors (:PCodEmpresa).
QString ExcluirErros();

// Fast counts, outside the numbered statements: the same "A serem enviados"
// and "Registros na Fila" as statements 2 and 3, without scanning the change
// log once per machine, in a fixed number of statements whatever the number
// of machines. The change log is counted once; one statement then gives every
// machine of the status statement (same join) its own numbers, comparing the
// delivery records with the branch code trimmed and the machine identifier as
// statements 2 and 3 receive them, so the server applies its own comparison
// rules in both ways. Run together in one snapshot, they give
//   to send = ContagemRapidaAlteracoes.TOTAL - INTEGRADOS + PENDENTES
//   queue   = FILA
// at one instant.
// Changes of the log that count for every machine (TOTAL).
QString ContagemRapidaAlteracoes();
// One row per row of the status statement, keyed by its MAQUINA and
// MAQUINAECF: INTEGRADOS, the counted changes the machine has integrated
// (each change once, however many REGISTROSINTEGRADOS rows name it);
// PENDENTES, its undelivered INTEGMAQUINA rows; FILA, its queue entries.
QString ContagemRapidaMaquinas();

}  // namespace Catalogo
