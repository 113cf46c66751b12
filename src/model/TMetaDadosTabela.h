#pragma once

#include <QString>

#include "model/TiposServidorOffLine.h"
#include "platform/TRemotable.h"

// The metadata of a table's fields: one list of texts per field.
class TMetaDadosTabela : public TRemotable {
 public:
  TMetaDadosTabela() = default;
  ~TMetaDadosTabela() override;

  const QString& NomeTabela() const { return FNomeTabela; }
  void SetNomeTabela(QString valor) { FNomeTabela = std::move(valor); }
  const TColMetaDadosCampos& ColecaoMetadadosCampos() const { return FColecaoMetadadosCampos; }
  void SetColecaoMetadadosCampos(TColMetaDadosCampos valor) { FColecaoMetadadosCampos = std::move(valor); }

 private:
  QString FNomeTabela;
  TColMetaDadosCampos FColecaoMetadadosCampos;
};
