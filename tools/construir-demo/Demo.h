#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "CenarioDemo.h"
#include "Sorteio.h"
#include "TextosIntegracao.h"

// Generates the demo's content from the fixed seed: what the ERP held, the
// change log applied to it, where each machine stands, the queue, the
// errors and the service's log. Every draw comes from one sequence, in one
// order, so the content is the same on every run.
class Demo {
 public:
  Demo() : FSorteio(kSemente), FTextos(FSorteio) {}

  void Gerar();
  const ConteudoDemo& Conteudo() const { return FConteudo; }

 private:
  QString ChaveTexto(const QStringList& chave) const { return chave.join(QChar(0x1f)); }
  LinhasTabela& Tabela(const QString& nome) { return FConteudo.Tabelas[nome]; }
  bool Existe(const QString& tabela, const QStringList& chave) {
    return Tabela(tabela).PorChave.contains(ChaveTexto(chave));
  }
  void Guardar(const QString& tabela, const QStringList& valores, int tamanhoChave) {
    Tabela(tabela).PorChave[ChaveTexto(valores.mid(0, tamanhoChave))] = valores;
  }
  void Registrar(const QString& acao, const QString& tabela, const QStringList& chaves, const QDateTime& quando);
  QString NovoCliente();

  void GerarCadastros();
  void GerarAlteracoes();
  // One change of the log, of each kind.
  void AlterarProduto(const QDateTime& quando);
  void AlterarEstoque(const QString& filial, const QDateTime& quando);
  void AlterarCliente(const QDateTime& quando);
  void AlterarVendedor(const QDateTime& quando);
  void AlterarVenda(const QString& filial, const QDateTime& quando);
  void IncluirTransferencia(const QString& filial, const QDateTime& quando);
  void ReceberTransferencia(const QDateTime& quando);
  void IncluirTransferenciaAntiga(const QString& filial, const QDateTime& quando);
  void IncluirAviso(const QString& filial, const QDateTime& quando);
  void GerarEstadoMaquinas();
  void GerarFila();
  void GerarErros();

  Sorteio FSorteio;
  TextosIntegracao FTextos;
  ConteudoDemo FConteudo;
  int FProximoCliente = 0;
  QMap<QString, int> FProximoDocumento;
  QMap<QString, int> FProximaTransferencia;
};
