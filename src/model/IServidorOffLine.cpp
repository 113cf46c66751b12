#include "model/IServidorOffLine.h"

#include "platform/TInvokableClassRegistry.h"

namespace {

const QString kTexto = QStringLiteral("string");
const QString kInteiro = QStringLiteral("Integer");
const QString kLogico = QStringLiteral("Boolean");

TParametroInvocavel Par(const char* nome, const QString& tipo) {
  return {QString::fromLatin1(nome), tipo, TModoParametro::Valor};
}

TOperacaoInvocavel Op(const char* nome, QList<TParametroInvocavel> parametros, const QString& resultado = {}) {
  return {QString::fromLatin1(nome), std::move(parametros), resultado};
}

}  // namespace

QUuid IServidorOffLine::Identificador() {
  return QUuid(QStringLiteral("{89E6F7D7-9203-431E-AE69-A63798F66B59}"));
}

TInterfaceInvocavel IServidorOffLine::Declaracao() {
  TInterfaceInvocavel declaracao;
  declaracao.Nome = QStringLiteral("IServidorOffLine");
  declaracao.Unidade = QStringLiteral("ServidorOffLineIntf");
  declaracao.Identificador = Identificador();
  declaracao.Operacoes = {
      Op("FRetornaUltimoId",
         {Par("VfEmpresa", kTexto), Par("VfIntervalo", kTexto), Par("VfQtdRegReceb", kInteiro),
          Par("VpMaquinaECF", kTexto)},
         kInteiro),
      Op("EnviaTabelas",
         {Par("VFEmpresa", kTexto), Par("VFTabelas", QStringLiteral("TColecaoTabela")),
          Par("VfEstruturas", QStringLiteral("TColecaoEstruturaTabela")), Par("VpMaquinaECF", kTexto)},
         kLogico),
      Op("FRetornaAtualizacao",
         {Par("VfEmpresa", kTexto), Par("VIntegEstFilialLocal", kLogico), Par("VpMaquinaECF", kTexto)},
         QStringLiteral("TRetornoCliente")),
      Op("PConfirmaSincronizacao",
         {Par("VpCodEmpresa", kTexto), Par("VpIdSnc", kTexto), Par("VpMaquinaEcf", kTexto)}),
      Op("PGravarErro", {Par("VpCodEmpresa", kTexto), Par("VpErro", kTexto), Par("VpMaquinaEcf", kTexto)}),
      Op("PDeletaIntegMaquina",
         {Par("VpCodEmpresa", kTexto), Par("VpOrdem", kInteiro), Par("VpMaquinaECF", kTexto)}),
      Op("FTestaConexao", {}, kLogico),
      Op("FRetornaQtdRegistrosIntegrar", {Par("VfCodEmpresaLocal", kTexto), Par("VpMaquinaECF", kTexto)},
         kInteiro),
      Op("FRetornaMetaDadosTabelas", {Par("VFListaTabelas", QStringLiteral("TListaTabelas"))},
         QStringLiteral("TColMetaDadosTabelas")),
      Op("RetornaRegistrosIntegrados",
         {Par("pCodEmpresaLocal", kTexto), Par("pID_BASE", kInteiro), Par("pMaquinaECF", kTexto)},
         QStringLiteral("TColRegistroFila")),
  };
  return declaracao;
}

// No namespace is passed: the registry forms it from the unit and the
// interface name. The registry ignores an identifier it already holds.
void RegistrarServidorOffLine() {
  TInvokableClassRegistry::Instancia().RegisterInterface(IServidorOffLine::Declaracao());
}
