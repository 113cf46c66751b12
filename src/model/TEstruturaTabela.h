#pragma once

#include <QString>

#include "model/TiposServidorOffLine.h"
#include "platform/TRemotable.h"

// The structure of a table sent by a machine: its name, its fields and the
// type of each field.
class TEstruturaTabela : public TRemotable {
 public:
  TEstruturaTabela() = default;
  ~TEstruturaTabela() override;

  const QString& NomeTabela() const { return FNomeTabela; }
  void SetNomeTabela(QString valor) { FNomeTabela = std::move(valor); }
  const TColecaoCampoTabela& CamposTabela() const { return FCamposTabela; }
  void SetCamposTabela(TColecaoCampoTabela valor) { FCamposTabela = std::move(valor); }
  const TColecaoTipoCampoTabela& TiposCampoTabela() const { return FTiposCampoTabela; }
  void SetTiposCampoTabela(TColecaoTipoCampoTabela valor) { FTiposCampoTabela = std::move(valor); }

 private:
  QString FNomeTabela;
  TColecaoCampoTabela FCamposTabela;
  TColecaoTipoCampoTabela FTiposCampoTabela;
};
