#pragma once

#include "model/TiposServidorOffLine.h"
#include "platform/TRemotable.h"

// What the server returns to a machine asking for updates. It owns every
// object in its two arrays and frees them when destroyed; replacing an
// array through a setter hands the objects of the old one back to the
// caller, who then frees them.
class TRetornoCliente : public TRemotable {
 public:
  TRetornoCliente() = default;
  ~TRetornoCliente() override;

  bool Processado() const { return FProcessado; }
  void SetProcessado(bool valor) { FProcessado = valor; }
  qint32 IDSnc() const { return FIDSnc; }
  void SetIDSnc(qint32 valor) { FIDSnc = valor; }
  const TColecaoTabela& ColecaoTabela() const { return FColecaoTabela; }
  void SetColecaoTabela(TColecaoTabela valor) { FColecaoTabela = std::move(valor); }
  const TColecaoEstruturaTabela& ColecaoEstrutura() const { return FColecaoEstrutura; }
  void SetColecaoEstrutura(TColecaoEstruturaTabela valor) { FColecaoEstrutura = std::move(valor); }

 private:
  bool FProcessado = false;
  qint32 FIDSnc = 0;
  TColecaoTabela FColecaoTabela;
  TColecaoEstruturaTabela FColecaoEstrutura;
};
