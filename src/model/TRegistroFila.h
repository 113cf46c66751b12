#pragma once

#include <QString>

#include "platform/TRemotable.h"

// One entry of a machine's integration queue. DataSinc travels as text, in
// whatever form the server wrote it, not as a date.
class TRegistroFila : public TRemotable {
 public:
  qint32 ID() const { return FID; }
  void SetID(qint32 valor) { FID = valor; }
  qint32 ID_Origem() const { return FID_Origem; }
  void SetID_Origem(qint32 valor) { FID_Origem = valor; }
  const QString& NomeTabela() const { return FNomeTabela; }
  void SetNomeTabela(QString valor) { FNomeTabela = std::move(valor); }
  const QString& Maquina() const { return FMaquina; }
  void SetMaquina(QString valor) { FMaquina = std::move(valor); }
  const QString& DataSinc() const { return FDataSinc; }
  void SetDataSinc(QString valor) { FDataSinc = std::move(valor); }

 private:
  qint32 FID = 0;
  qint32 FID_Origem = 0;
  QString FNomeTabela;
  QString FMaquina;
  QString FDataSinc;
};
