#pragma once

#include <QString>

#include "model/TiposServidorOffLine.h"
#include "platform/TRemotable.h"

// One changed record of a table: the action, the values of its fields and
// the values of its primary key.
class TTabela : public TRemotable {
 public:
  TTabela() = default;
  ~TTabela() override;

  qint32 ID() const { return FID; }
  void SetID(qint32 valor) { FID = valor; }
  const QString& NomeTabela() const { return FNomeTabela; }
  void SetNomeTabela(QString valor) { FNomeTabela = std::move(valor); }
  TAcao TipoAcao() const { return FTipoAcao; }
  void SetTipoAcao(TAcao valor) { FTipoAcao = valor; }
  const TColecaoValorCampoTabela& ValorCampos() const { return FValorCampos; }
  void SetValorCampos(TColecaoValorCampoTabela valor) { FValorCampos = std::move(valor); }
  const TChavePrimaria& ChavePrimaria() const { return FChavePrimaria; }
  void SetChavePrimaria(TChavePrimaria valor) { FChavePrimaria = std::move(valor); }

 private:
  qint32 FID = 0;
  QString FNomeTabela;
  TAcao FTipoAcao = TAcao::TaIncluir;
  TColecaoValorCampoTabela FValorCampos;
  TChavePrimaria FChavePrimaria;
};
