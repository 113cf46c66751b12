#pragma once

#include "CenarioDemo.h"

class ConexaoBanco;
class Insercao;

// Writes the demo's content into a database that has the tables already:
// the registers and parameters, the change log, then what the machines
// did, each in a transaction of its own.
class GravacaoDemo {
 public:
  GravacaoDemo(ConexaoBanco& conexao, const ConteudoDemo& conteudo) : FConexao(conexao), FConteudo(conteudo) {}
  void Gravar();

 private:
  void GravarCadastros();
  void GravarAlteracoes();
  void GravarMaquinas();
  void GravarEntregas(int maquina, Insercao& entregas);
  void GravarFila();
  void GravarErros();

  ConexaoBanco& FConexao;
  const ConteudoDemo& FConteudo;
};
