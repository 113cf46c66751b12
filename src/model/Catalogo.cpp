#include "model/Catalogo.h"

namespace Catalogo {

QString StatusMaquinas() {
  return QStringLiteral(
      "SELECT FILIAIS.CODEMPRESA, IGFMAQUINA.MAQUINA, FILIAIS.CODEMPRESA || ' - ' || FILIAIS.NOMEEMPRESA AS NOME, "
      "IGFMAQUINA.MAQUINAECF, IGFMAQUINA.INTERVALO, IGFMAQUINA.QTDREGRECEB, IGFMAQUINA.ULTRECEB, IGFMAQUINA.ULTENVIO, "
      "IIF((SELECT COUNT(INTEGERRO.CODEMPRESA) FROM INTEGERRO WHERE INTEGERRO.CODEMPRESA = IGFMAQUINA.MAQUINA AND "
      "INTEGERRO.MAQUINAECF = IGFMAQUINA.MAQUINAECF AND INTEGERRO.CONFERIDO = 'N') = 0, 'Não', 'Sim') AS STATUSERRO "
      "FROM IGFMAQUINA INNER JOIN FILIAIS ON IGFMAQUINA.MAQUINA = FILIAIS.CODEMPRESA "
      "ORDER BY IGFMAQUINA.MAQUINAECF, FILIAIS.NOMEEMPRESA");
}

QString RegistrosEnviar() {
  return QStringLiteral(
      "SELECT SUM(TOTAL) AS TOTAL FROM (SELECT COUNT(*) AS TOTAL FROM MVINTEGGERAL WHERE "
      "MVINTEGGERAL.INCINTEGMAQUINA <> 'N' AND (NOT EXISTS(SELECT REGISTROSINTEGRADOS.ORDEM FROM REGISTROSINTEGRADOS "
      "WHERE REGISTROSINTEGRADOS.MAQUINA = :MAQUINA AND REGISTROSINTEGRADOS.MAQUINAECF = :MAQUINAECF AND "
      "REGISTROSINTEGRADOS.ORDEM = MVINTEGGERAL.ORDEM)) AND ((MVINTEGGERAL.ACAO = 'E') OR (MVINTEGGERAL.TABELA NOT IN "
      "('TRANSF_ESTOQUE', 'TRANSF_ESTOQUE_ITENS'))) UNION ALL SELECT COUNT(*) AS TOTAL FROM INTEGMAQUINA WHERE "
      "INTEGMAQUINA.ATUALIZOU <> 'S' AND INTEGMAQUINA.MAQUINA = :MAQUINA AND INTEGMAQUINA.MAQUINAECF = :MAQUINAECF) "
      "AS TABELA");
}

QString RegistrosFila() {
  return QStringLiteral(
      "select Count(ID) as TOTAL from filaintegoffline Where filaintegoffline.status in (0,3) and "
      "filaintegoffline.codempresa = :pCodEmpresa and filaintegoffline.maquina = :pMaqECF");
}

QString IntervaloPainel() {
  return QStringLiteral(
      "SELECT PARADIV.CAMPOINTEGER FROM PARADIV WHERE PARADIV.ID_DESCRICAO = 'TEMPOATUALIZACAOPAINEL'");
}

QString UsaWebService() { return QStringLiteral("Select UTILIZAINTEGWEBSERVICE from PARAWEB"); }

QString ProximosRegistros() {
  return QStringLiteral(
      "Select First 15 MvIntegGeral.* From MvIntegGeral Where ( MvIntegGeral.Ordem > ( Select IgfMaquina.UltIdServer "
      "From IgfMaquina Where IgfMaquina.Maquina = :PMaquina And IgfMaquina.MaquinaECF = :PMaqECF) And "
      "MvIntegGeral.Tabela Not In ( 'TRANSFESTOQUE','MVGERAL') ) Or ( MvIntegGeral.Ordem > ( Select "
      "IgfMaquina.UltIdServer From IgfMaquina Where IgfMaquina.Maquina = :PMaquina And IgfMaquina.MaquinaECF = "
      ":PMaqECF) And ( ( MvIntegGeral.Tabela = 'TRANSFESTOQUE' And MvIntegGeral.Chave3 = :PMaquina ) Or ( "
      "MvIntegGeral.Tabela = 'MVGERAL' And MvIntegGeral.Chave0 = :PMaquina ) ) ) Order By MvIntegGeral.Ordem");
}

QString ProximosRegistrosTodos() {
  return QStringLiteral(
      "Select MvIntegGeral.* From MvIntegGeral Where ( MvIntegGeral.Ordem > ( Select IgfMaquina.UltIdServer From "
      "IgfMaquina Where IgfMaquina.Maquina = :PMaquina AND IgfMaquina.MaquinaECF = :PMaqECF) And MvIntegGeral.Tabela "
      "Not In ( 'TRANSFESTOQUE', 'MVGERAL' ) ) Or ( MvIntegGeral.Ordem > ( Select IgfMaquina.UltIdServer From "
      "IgfMaquina Where IgfMaquina.Maquina = :PMaquina AND IgfMaquina.MaquinaECF = :PMaqECF) And ( ( "
      "MvIntegGeral.Tabela = 'TRANSFESTOQUE' And MvIntegGeral.Chave3 = :PMaquina ) Or ( MvIntegGeral.Tabela = "
      "'MVGERAL' And MvIntegGeral.Chave0 = :PMaquina ) ) ) Order By MvIntegGeral.Ordem");
}

QString RegistrosEnviados() {
  return QStringLiteral(
      "Select First 15 MvIntegGeral.* From IntegMaquina Inner Join MvIntegGeral ON IntegMaquina.Ordem = "
      "MvIntegGeral.Ordem Where IntegMaquina.Maquina = :PMaquina And IntegMaquina.MaquinaECF = :PMaqECF And "
      "IntegMaquina.Atualizou = 'S' Order By MvIntegGeral.Ordem Desc");
}

QString RegistrosRecebidos() {
  return QStringLiteral(
      "SELECT first 15 filaintegoffline.id, filaintegoffline.id_origem, case filaintegoffline.acao when 'A' Then "
      "'Alteração' when 'I' Then 'Inclusão' when 'E' then 'Exclusão' when 'P' then 'Procedure' end as Acao, case "
      "filaintegoffline.status when 0 then 'Não Executado' when 1 then 'Executado' when 2 then 'Exec. e Sinc' when 3 "
      "then 'Erro' end as status, filaintegoffline.tabela, filaintegoffline.script, filaintegoffline.data_inclusao, "
      "filaintegoffline.data_execucao from filaintegoffline where filaintegoffline.codempresa = :pCodEmpresa and "
      "filaintegoffline.maquina = :pMaqECF Order By filaintegoffline.data_inclusao desc");
}

QString ChavePrimaria() {
  return QStringLiteral(
      "SELECT RDB$INDEX_SEGMENTS.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS INNER JOIN RDB$INDEX_SEGMENTS ON "
      "RDB$RELATION_CONSTRAINTS.RDB$INDEX_NAME = RDB$INDEX_SEGMENTS.RDB$INDEX_NAME WHERE "
      "RDB$RELATION_CONSTRAINTS.RDB$RELATION_NAME = :TABELA AND RDB$RELATION_CONSTRAINTS.RDB$CONSTRAINT_TYPE = "
      "'PRIMARY KEY' ORDER BY RDB$INDEX_SEGMENTS.RDB$FIELD_POSITION");
}

QString Erros(bool soNaoConferidos) {
  QStringList linhas{
      QStringLiteral("Select * From IntegErro Where CodEmpresa = :PCodEmpresa AND MaquinaECF = :PMaqECF")};
  if (soNaoConferidos) linhas << QStringLiteral("And Conferido = ") + QStringLiteral("'N'");
  linhas << QStringLiteral("Order By DataErro Desc");
  return linhas.join(QStringLiteral("\r\n"));
}

QString ErrosNaoConferidos() { return Erros(true); }

QString ErrosTodos() { return Erros(false); }

QString ReprocessarErros() { return QStringLiteral("UPDATE FILAINTEGOFFLINE SET STATUS = 0 WHERE STATUS = 3"); }

QString GravarConferido() {
  return QStringLiteral(
      "Update IntegErro Set Conferido = :PConferido Where CodEmpresa = :PCodEmpresa And MaquinaECF = :PMaqECF And "
      "IdIntegErro = :PIdIntegErro");
}

QString ExcluirErros() { return QStringLiteral("Delete From IntegErro Where CodEmpresa = :PCodEmpresa"); }

// Fast counts. The change-log condition is statement 2's, word for word, so
// NULLs and table names fall the same way in both.

QString ContagemRapidaAlteracoes() {
  return QStringLiteral(
      "SELECT COUNT(*) AS TOTAL FROM MVINTEGGERAL WHERE MVINTEGGERAL.INCINTEGMAQUINA <> 'N' AND "
      "((MVINTEGGERAL.ACAO = 'E') OR (MVINTEGGERAL.TABELA NOT IN ('TRANSF_ESTOQUE', 'TRANSF_ESTOQUE_ITENS')))");
}

// TRIM removes the blanks a branch code carries; a missing machine
// identifier compares as the empty text the per-machine way binds for it.
QString ContagemRapidaMaquinas() {
  return QStringLiteral(
      "SELECT IGFMAQUINA.MAQUINA, IGFMAQUINA.MAQUINAECF, (SELECT COUNT(*) FROM (SELECT DISTINCT "
      "REGISTROSINTEGRADOS.ORDEM FROM REGISTROSINTEGRADOS WHERE REGISTROSINTEGRADOS.MAQUINA = TRIM(IGFMAQUINA.MAQUINA) "
      "AND REGISTROSINTEGRADOS.MAQUINAECF = COALESCE(IGFMAQUINA.MAQUINAECF, '')) AS INTEGRADOS INNER JOIN MVINTEGGERAL "
      "ON MVINTEGGERAL.ORDEM = INTEGRADOS.ORDEM WHERE MVINTEGGERAL.INCINTEGMAQUINA <> 'N' AND ((MVINTEGGERAL.ACAO = "
      "'E') OR (MVINTEGGERAL.TABELA NOT IN ('TRANSF_ESTOQUE', 'TRANSF_ESTOQUE_ITENS')))) AS INTEGRADOS, (SELECT "
      "COUNT(*) FROM INTEGMAQUINA WHERE INTEGMAQUINA.ATUALIZOU <> 'S' AND INTEGMAQUINA.MAQUINA = TRIM(IGFMAQUINA.MAQUINA) "
      "AND INTEGMAQUINA.MAQUINAECF = COALESCE(IGFMAQUINA.MAQUINAECF, '')) AS PENDENTES, (SELECT "
      "COUNT(FILAINTEGOFFLINE.ID) FROM FILAINTEGOFFLINE WHERE FILAINTEGOFFLINE.STATUS IN (0, 3) AND "
      "FILAINTEGOFFLINE.CODEMPRESA = TRIM(IGFMAQUINA.MAQUINA) AND FILAINTEGOFFLINE.MAQUINA = "
      "COALESCE(IGFMAQUINA.MAQUINAECF, '')) AS FILA FROM IGFMAQUINA INNER JOIN FILIAIS ON IGFMAQUINA.MAQUINA = "
      "FILIAIS.CODEMPRESA");
}

}  // namespace Catalogo
