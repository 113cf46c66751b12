#pragma once

#include <QString>

// Names of the integration tables and of the columns the panel reads by name.
namespace TabelasIntegracao {

inline const QString Filiais = QStringLiteral("FILIAIS");
inline const QString IgfMaquina = QStringLiteral("IGFMAQUINA");
inline const QString MvIntegGeral = QStringLiteral("MVINTEGGERAL");
inline const QString IntegMaquina = QStringLiteral("INTEGMAQUINA");
inline const QString RegistrosIntegrados = QStringLiteral("REGISTROSINTEGRADOS");
inline const QString FilaIntegOffline = QStringLiteral("FILAINTEGOFFLINE");
inline const QString IntegErro = QStringLiteral("INTEGERRO");
inline const QString ParaDiv = QStringLiteral("PARADIV");
inline const QString ParaWeb = QStringLiteral("PARAWEB");

// Change-log tables whose changes go only to the branch their key names.
inline const QString TransfEstoque = QStringLiteral("TRANSFESTOQUE");
inline const QString MvGeral = QStringLiteral("MVGERAL");

namespace Coluna {
inline const QString CodEmpresa = QStringLiteral("CODEMPRESA");
inline const QString NomeEmpresa = QStringLiteral("NOMEEMPRESA");
inline const QString Maquina = QStringLiteral("MAQUINA");
inline const QString Nome = QStringLiteral("NOME");
inline const QString MaquinaEcf = QStringLiteral("MAQUINAECF");
inline const QString Intervalo = QStringLiteral("INTERVALO");
inline const QString QtdRegReceb = QStringLiteral("QTDREGRECEB");
inline const QString UltReceb = QStringLiteral("ULTRECEB");
inline const QString UltEnvio = QStringLiteral("ULTENVIO");
inline const QString UltIdServer = QStringLiteral("ULTIDSERVER");
inline const QString StatusErro = QStringLiteral("STATUSERRO");
inline const QString Total = QStringLiteral("TOTAL");
inline const QString IdDescricao = QStringLiteral("ID_DESCRICAO");
inline const QString CampoInteger = QStringLiteral("CAMPOINTEGER");
inline const QString UtilizaIntegWebService = QStringLiteral("UTILIZAINTEGWEBSERVICE");
inline const QString Ordem = QStringLiteral("ORDEM");
inline const QString Acao = QStringLiteral("ACAO");
inline const QString Tabela = QStringLiteral("TABELA");
inline const QString IncIntegMaquina = QStringLiteral("INCINTEGMAQUINA");
inline const QString Atualizou = QStringLiteral("ATUALIZOU");
inline const QString Id = QStringLiteral("ID");
inline const QString Status = QStringLiteral("STATUS");
inline const QString Script = QStringLiteral("SCRIPT");
inline const QString IdOrigem = QStringLiteral("ID_ORIGEM");
inline const QString DataInclusao = QStringLiteral("DATA_INCLUSAO");
inline const QString DataExecucao = QStringLiteral("DATA_EXECUCAO");
inline const QString IdIntegErro = QStringLiteral("IDINTEGERRO");
inline const QString DataErro = QStringLiteral("DATAERRO");
inline const QString MsgErro = QStringLiteral("MSGERRO");
inline const QString Conferido = QStringLiteral("CONFERIDO");
inline const QString RdbFieldName = QStringLiteral("RDB$FIELD_NAME");
// CHAVE0 to CHAVE9: a change carries keys of at most ten columns.
inline constexpr int QtdChaves = 10;
inline QString Chave(int i) { return QStringLiteral("CHAVE%1").arg(i); }
}  // namespace Coluna

}  // namespace TabelasIntegracao
