#include "ErpDemo.h"

#include "Sorteio.h"

// Branch 04's code, " - " and name pass the grid's 35 characters; branch 05
// has no machine and so no status row.
const QList<Filial> kFiliais = {
    {"01", "Matriz - São Paulo", "12.345.678/0001-90"},
    {"02", "Campinas - Cambuí", "12.345.678/0002-71"},
    {"03", "Ribeirão Preto", "12.345.678/0003-52"},
    {"04", "São José dos Campos - Shopping Vale Sul", "12.345.678/0004-33"},
    {"05", "Depósito Central - Jundiaí", "12.345.678/0005-14"},
};
const QStringList kCodigosFiliais = {"01", "02", "03", "04", "05"};

// TRANSFESTOQUE carries the destination branch as the fourth key column and
// MVGERAL the branch as the first: the change log's CHAVE3 and CHAVE0.
const QList<TabelaErp> kTabelasErp = {
    {"PRODUTOS", 1,
     {{"CODPRODUTO", "VARCHAR(14)"}, {"DESCRICAO", "VARCHAR(60)"}, {"UNIDADE", "CHAR(2)"},
      {"PRECOVENDA", "NUMERIC(15,2)"}}},
    {"CLIENTES", 1,
     {{"CODCLIENTE", "INTEGER"}, {"NOME", "VARCHAR(60)"}, {"CIDADE", "VARCHAR(40)"}, {"UF", "CHAR(2)"}}},
    {"VENDEDORES", 1, {{"CODVENDEDOR", "INTEGER"}, {"NOME", "VARCHAR(60)"}, {"COMISSAO", "NUMERIC(5,2)"}}},
    {"ESTOQUE", 2, {{"CODEMPRESA", "CHAR(2)"}, {"CODPRODUTO", "VARCHAR(14)"}, {"QUANTIDADE", "NUMERIC(15,3)"}}},
    {"MVGERAL", 3,
     {{"CODEMPRESA", "CHAR(2)"}, {"SERIE", "VARCHAR(3)"}, {"NUMDOCUMENTO", "INTEGER"}, {"DATAEMISSAO", "DATE"},
      {"CODCLIENTE", "INTEGER"}, {"VALORTOTAL", "NUMERIC(15,2)"}}},
    {"TRANSFESTOQUE", 4,
     {{"CODEMPRESA", "CHAR(2)"}, {"SERIE", "VARCHAR(3)"}, {"NUMTRANSF", "INTEGER"}, {"CODEMPRESADESTINO", "CHAR(2)"},
      {"DATATRANSF", "DATE"}, {"SITUACAO", "VARCHAR(20)"}}},
    {"TRANSF_ESTOQUE", 2,
     {{"CODEMPRESA", "CHAR(2)"}, {"NUMTRANSF", "INTEGER"}, {"DATATRANSF", "DATE"}, {"OBSERVACAO", "VARCHAR(100)"}}},
    {"TRANSF_ESTOQUE_ITENS", 3,
     {{"CODEMPRESA", "CHAR(2)"}, {"NUMTRANSF", "INTEGER"}, {"ITEM", "INTEGER"}, {"CODPRODUTO", "VARCHAR(14)"},
      {"QUANTIDADE", "NUMERIC(15,3)"}}},
    {"AVISOSCAIXA", 0, {{"CODEMPRESA", "CHAR(2)"}, {"MENSAGEM", "VARCHAR(200)"}, {"DATAAVISO", "DATE"}}},
};

QString DdlTabelas() {
  QString ddl;
  for (const TabelaErp& t : kTabelasErp) {
    QStringList partes;
    for (int i = 0; i < t.Colunas.size(); ++i)
      partes << QStringLiteral("  %1 %2%3").arg(t.Colunas[i].Nome, t.Colunas[i].Tipo,
                                                i < t.TamanhoChave ? QStringLiteral(" NOT NULL") : QString());
    if (t.TamanhoChave > 0) {
      QStringList chave;
      for (int i = 0; i < t.TamanhoChave; ++i) chave << t.Colunas[i].Nome;
      partes << QStringLiteral("  CONSTRAINT PK_%1 PRIMARY KEY (%2)").arg(t.Nome, chave.join(QStringLiteral(", ")));
    }
    ddl += QStringLiteral("CREATE TABLE %1 (\n%2\n);\n").arg(t.Nome, partes.join(QStringLiteral(",\n")));
  }
  return ddl;
}

const QList<TipoProduto> kTiposProduto = {
    {"ARROZ BRANCO TIPO 1 5KG", "UN", 27.90},       {"FEIJÃO CARIOCA 1KG", "UN", 8.49},
    {"AÇÚCAR CRISTAL 5KG", "UN", 21.90},            {"CAFÉ TORRADO E MOÍDO 500G", "UN", 18.90},
    {"ÓLEO DE SOJA 900ML", "UN", 7.99},             {"LEITE LONGA VIDA INTEGRAL 1L", "UN", 5.49},
    {"MACARRÃO ESPAGUETE 500G", "UN", 4.79},        {"FARINHA DE TRIGO 1KG", "UN", 5.99},
    {"SABÃO EM PÓ 1KG", "UN", 14.90},               {"DETERGENTE LÍQUIDO 500ML", "UN", 2.69},
    {"PAPEL HIGIÊNICO FOLHA DUPLA 12 ROLOS", "PC", 19.90}, {"BISCOITO CREAM CRACKER 400G", "UN", 5.29},
    {"MOLHO DE TOMATE TRADICIONAL 340G", "UN", 3.19}, {"SARDINHA EM ÓLEO 125G", "UN", 6.49},
    {"ACHOCOLATADO EM PÓ 400G", "UN", 8.99},        {"MARGARINA COM SAL 500G", "UN", 9.49},
    {"REFRIGERANTE DE GUARANÁ 2L", "UN", 8.99},     {"ÁGUA MINERAL SEM GÁS 1,5L", "UN", 2.99},
    {"CERVEJA PILSEN LATA 350ML", "UN", 3.89},      {"SUCO DE LARANJA INTEGRAL 1L", "UN", 8.79},
    {"QUEIJO MUÇARELA FATIADO", "KG", 49.90},       {"PRESUNTO COZIDO FATIADO", "KG", 36.90},
    {"FRANGO INTEIRO CONGELADO", "KG", 12.99},      {"CARNE MOÍDA DE PATINHO", "KG", 44.90},
    {"BANANA NANICA", "KG", 5.98},                  {"TOMATE ITALIANO", "KG", 8.98},
    {"BATATA LAVADA", "KG", 6.49},                  {"CEBOLA NACIONAL", "KG", 5.49},
    {"PÃO FRANCÊS", "KG", 16.90},                   {"IOGURTE NATURAL 170G", "UN", 3.49},
};
const QStringList kMarcas = {"AURORA",      "BOM DIA",   "SÃO BENTO", "VALE VERDE", "CAMPO BELO",
                             "SANTA LUZIA", "BELA VISTA", "SERRA AZUL", "ESTRELA",    "PRIMAVERA",
                             "RIO CLARO",   "BOA SAFRA", "NOVA ERA",   "JEQUITIBÁ"};
const QStringList kPrenomes = {"Maria",    "José",    "Ana",      "João",     "Antônio", "Francisca", "Luiz",
                               "Conceição", "Paulo",  "Luíza",    "Sebastião", "Márcia", "Fábio",     "Letícia",
                               "André",    "Cláudia", "Vinícius", "Patrícia", "Tânia",   "Raimundo",  "Júlia",
                               "Otávio",   "Simone",  "Benedito", "Lúcia",    "César",   "Débora",    "Ângelo"};
const QStringList kSobrenomes = {"da Silva",   "dos Santos", "Oliveira", "Souza",     "Rodrigues", "Ferreira",
                                 "Alves",      "Pereira",    "Gonçalves", "Araújo",   "Ribeiro",   "Carvalho",
                                 "Gomes",      "Martins",    "Rocha",     "Conceição", "Magalhães", "Brandão",
                                 "Assunção",   "Falcão",     "Simões",    "Guimarães", "Patrício",  "Estevão"};
const QStringList kCidades = {"São Paulo", "Campinas",   "Ribeirão Preto", "São José dos Campos", "Jundiaí",
                              "Valinhos",  "Sertãozinho", "Jacareí",       "Taubaté",             "Indaiatuba"};


namespace {

QString Ean13(int fabricante, int item) {
  const QString base = QStringLiteral("789%1%2").arg(fabricante, 4, 10, QLatin1Char('0')).arg(item, 5, 10, QLatin1Char('0'));
  int soma = 0;
  for (int i = 0; i < 12; ++i) soma += base[i].digitValue() * (i % 2 ? 3 : 1);
  return base + QString::number((10 - soma % 10) % 10);
}

}  // namespace

int QtdProdutos() { return int(kTiposProduto.size() * kMarcas.size()); }

const TipoProduto& TipoDoProduto(int produto) { return kTiposProduto[produto % kTiposProduto.size()]; }

QString CodigoProduto(int produto) {
  const int tipo = produto % int(kTiposProduto.size());
  const int marca = produto / int(kTiposProduto.size());
  return Ean13(1000 + marca * 37, 10000 + tipo * 113);
}

QString DescricaoProduto(int produto) {
  return TipoDoProduto(produto).Nome + u' ' + kMarcas[produto / kTiposProduto.size()];
}

// Drawn one part at a time: the order of the operands of "+" is not fixed.
QString NomePessoa(Sorteio& sorteio, int sobrenomes) {
  QString nome = sorteio.Um(kPrenomes);
  for (int i = 0; i < sobrenomes; ++i) nome += u' ' + sorteio.Um(kSobrenomes);
  return nome;
}
