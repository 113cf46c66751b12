#pragma once

#include <QString>
#include <QUuid>

#include "model/TiposServidorOffLine.h"
#include "platform/DeclaracaoInvocavel.h"
#include "platform/IInvokable.h"

class TRetornoCliente;

// The synchronisation service of the offline integration, through which the
// machines of the branches exchange records with the central database. The
// panel declares it and registers the declaration; nothing here calls or
// serves it. Every parameter is an input passed by value, and on a remote
// call its name, letter case included, becomes the element name.
class IServidorOffLine : public IInvokable {
 public:
  static QUuid Identificador();
  // The operations with their parameters, in declaration order, as the
  // registry records them.
  static TInterfaceInvocavel Declaracao();

  virtual qint32 FRetornaUltimoId(QString VfEmpresa, QString VfIntervalo, qint32 VfQtdRegReceb,
                                  QString VpMaquinaECF) = 0;
  virtual bool EnviaTabelas(QString VFEmpresa, TColecaoTabela VFTabelas, TColecaoEstruturaTabela VfEstruturas,
                            QString VpMaquinaECF) = 0;
  virtual TRetornoCliente* FRetornaAtualizacao(QString VfEmpresa, bool VIntegEstFilialLocal,
                                               QString VpMaquinaECF) = 0;
  virtual void PConfirmaSincronizacao(QString VpCodEmpresa, QString VpIdSnc, QString VpMaquinaEcf) = 0;
  virtual void PGravarErro(QString VpCodEmpresa, QString VpErro, QString VpMaquinaEcf) = 0;
  virtual void PDeletaIntegMaquina(QString VpCodEmpresa, qint32 VpOrdem, QString VpMaquinaECF) = 0;
  virtual bool FTestaConexao() = 0;
  virtual qint32 FRetornaQtdRegistrosIntegrar(QString VfCodEmpresaLocal, QString VpMaquinaECF) = 0;
  virtual TColMetaDadosTabelas FRetornaMetaDadosTabelas(TListaTabelas VFListaTabelas) = 0;
  virtual TColRegistroFila RetornaRegistrosIntegrados(QString pCodEmpresaLocal, qint32 pID_BASE,
                                                      QString pMaquinaECF) = 0;
};

// Records the declaration in the process's registry under the namespace
// "urn:ServidorOffLineIntf-IServidorOffLine". Called once at start-up,
// before any window; calling it again changes nothing.
void RegistrarServidorOffLine();
