#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "windows/ChavePrimaria.h"

class ConsultaSql;
class ValorCampo;

// The primary-key columns of a table as the database's catalogue holds them;
// the query is left open. An unknown table gives an empty list.
TChvPrimaria BuscarChavePrimaria(const QString& tabela, ConsultaSql& consulta);

// Builds the readable key text of change-log rows ("A=01;B=7;"). The key
// columns are looked up once per table name for the life of the object, so
// long lists do not run the catalogue query per row; one object serves one
// load of a list, so a key changed in the database is read on the next load.
class MontagemChave {
 public:
  static constexpr int kMaximoChaves = 10;  // CHAVE0 .. CHAVE9
  static constexpr int kTamanhoChave = 200;

  explicit MontagemChave(ConsultaSql& consulta) : FConsulta(consulta) {}

  // valores[i] is CHAVEi; names past the tenth have no value and are left out.
  QString Montar(const QString& tabela, const std::vector<const ValorCampo*>& valores);

 private:
  ConsultaSql& FConsulta;
  QHash<QString, TChvPrimaria> FCache;
};
