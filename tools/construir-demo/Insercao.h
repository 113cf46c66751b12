#pragma once

#include <QString>
#include <QStringList>

#include "platform/ConsultaSql.h"

class ConexaoBanco;

// One INSERT prepared once and run per row. A null QString is stored as NULL.
class Insercao {
 public:
  Insercao(ConexaoBanco& conexao, const QString& tabela, const QStringList& colunas);
  void Executar(const QStringList& valores);

 private:
  ConsultaSql FConsulta;
  int FQtd = 0;
};
