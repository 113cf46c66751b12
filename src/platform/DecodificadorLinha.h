#pragma once

#include "platform/ValorCampo.h"

#include <QStringList>
#include <vector>

namespace Firebird {
class IAttachment;
class IMessageMetadata;
class ITransaction;
}  // namespace Firebird

// Turns a fetched row of a statement's output message into values. The
// message's layout is read from its metadata once per prepare.
//
// Only the types a dialect-1 database yields are read: its DATE is a
// timestamp, and the engine refuses the types DATE and TIME of dialect 3 on
// such a database, whatever the client's dialect. Any other type (an array
// holding a value) fails with the column's name.
class DecodificadorLinha {
 public:
  DecodificadorLinha() = default;
  explicit DecodificadorLinha(Firebird::IMessageMetadata* saida);

  const QStringList& Colunas() const { return FColunas; }  // upper case
  unsigned TamanhoLinha() const { return FTamanhoLinha; }
  bool TemBlob() const;

  // BLOB columns are read whole, in the transaction that fetched the row.
  std::vector<ValorCampo> Decodificar(const unsigned char* linha, Firebird::IAttachment* anexo,
                                      Firebird::ITransaction* transacao) const;

 private:
  struct Coluna {
    unsigned Tipo, Deslocamento, DeslocamentoNulo, Tamanho;
    int Escala;
  };
  ValorCampo Valor(unsigned indice, const unsigned char* dado, Firebird::IAttachment* anexo,
                   Firebird::ITransaction* transacao) const;

  QStringList FColunas;
  std::vector<Coluna> FFormato;
  unsigned FTamanhoLinha = 0;
};
