#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Sorteio;

// The ERP side of the demo: its branches, the ERP tables the change log
// names, the product catalogue and the names people and places get.

struct Filial {
  QString Codigo, Nome, Cnpj;
};
extern const QList<Filial> kFiliais;
extern const QStringList kCodigosFiliais;

struct Coluna {
  QString Nome, Tipo;
};

// An ERP table as far as the demo needs it: the first TamanhoChave columns
// form the primary key (none when 0), in key order.
struct TabelaErp {
  QString Nome;
  int TamanhoChave;
  QList<Coluna> Colunas;
};
extern const QList<TabelaErp> kTabelasErp;

// CREATE TABLE of every ERP table, with its primary key.
QString DdlTabelas();

struct TipoProduto {
  QString Nome, Unidade;
  double Preco;
};
extern const QList<TipoProduto> kTiposProduto;
extern const QStringList kMarcas;
extern const QStringList kCidades;

// Every product type in every brand.
int QtdProdutos();
const TipoProduto& TipoDoProduto(int produto);
QString CodigoProduto(int produto);  // an EAN-13
QString DescricaoProduto(int produto);

// A first name and the given number of surnames.
QString NomePessoa(Sorteio& sorteio, int sobrenomes);
