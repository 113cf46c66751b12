#pragma once

#include <QDateTime>
#include <QString>

#include "CenarioDemo.h"

class Sorteio;

// The texts the machines and the integration service wrote: the scripts of
// queue entries and the messages of integration errors. Drawn from the
// demo's one sequence, so that they come out the same on every run.
class TextosIntegracao {
 public:
  explicit TextosIntegracao(Sorteio& sorteio) : FSorteio(sorteio) {}

  // qtdClientes: the customers the ERP has, for the codes a script names.
  QString ScriptFila(const Maquina& m, const QString& acao, const QString& tabela, const QDateTime& quando,
                     int qtdClientes);
  // Seven kinds, 0 to 6, short and long.
  QString TextoErro(int tipo, const Maquina& m, const QDateTime& quando);

 private:
  QString ErroDeScript(const Maquina& m, const QDateTime& quando);
  QString DivergenciaDeEstoque(const Maquina& m, const QDateTime& quando);
  QString FalhaDeEnvio(const Maquina& m, const QDateTime& quando);

  Sorteio& FSorteio;
};
