// Builds the demo database of the panel through the embedded engine: the
// integration tables of the schema, the ERP tables that the change log names
// (with real primary keys, so the records viewer finds their key columns),
// and data that puts every state of the panel on screen. Beside it, a log
// file of the integration service for the log viewer.
//
//   construir-demo --esquema=tests/fixtures/schema.sql --banco=build/demo/velmora-demo.fdb
//                  [--log=build/demo/integracao.txt]
//
// The content is the same on every run: one fixed seed and one fixed moment,
// kInstante, of which the data is a snapshot ("last receipt two minutes
// ago" means two minutes before kInstante). A database that depended on the
// clock would differ from run to run, and from the screenshots taken of it.
//
// The file is built under a temporary name and renamed when complete, so an
// interrupted build never leaves a half-filled database behind. An existing
// database is never touched.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <iterator>
#include <cstdio>
#include <memory>

#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/CriacaoBanco.h"
#include "platform/Falha.h"
#include "platform/Windows1252.h"

namespace {

// The moment the demo shows: a Monday morning.
const QDateTime kInstante(QDate(2026, 12, 7), QTime(10, 30, 0));
constexpr quint64 kSemente = 0x5EED2026;
constexpr int kQtdAlteracoes = 3000;

QString Sql(const QDateTime& momento) { return momento.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }
QString Br(const QDateTime& momento) { return momento.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")); }
QString Dinheiro(double valor) { return QString::number(valor, 'f', 2); }
QString Aspas(const QString& texto) { return u'\'' + QString(texto).replace(u'\'', QStringLiteral("''")) + u'\''; }

// splitmix64: the same numbers on every platform and library version, which
// the standard distributions do not promise.
class Sorteio {
 public:
  explicit Sorteio(quint64 semente) : FEstado(semente) {}
  quint64 Proximo() {
    quint64 z = (FEstado += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Entre(int menor, int maior) { return menor + int(Proximo() % quint64(maior - menor + 1)); }
  bool Chance(int porcento) { return Entre(1, 100) <= porcento; }
  template <typename T>
  const T& Um(const QList<T>& lista) { return lista[Entre(0, int(lista.size()) - 1)]; }

 private:
  quint64 FEstado;
};

// ---------------------------------------------------------------- the ERP

struct Filial {
  QString Codigo, Nome, Cnpj;
};

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

struct TipoProduto {
  QString Nome, Unidade;
  double Preco;
};

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

int QtdProdutos() { return int(kTiposProduto.size() * kMarcas.size()); }

QString Ean13(int fabricante, int item) {
  const QString base = QStringLiteral("789%1%2").arg(fabricante, 4, 10, QLatin1Char('0')).arg(item, 5, 10, QLatin1Char('0'));
  int soma = 0;
  for (int i = 0; i < 12; ++i) soma += base[i].digitValue() * (i % 2 ? 3 : 1);
  return base + QString::number((10 - soma % 10) % 10);
}

// ------------------------------------------------------- the demo's content

// One machine of the integration and the state it is in at kInstante.
struct Maquina {
  QString Filial;      // as stored in IGFMAQUINA.MAQUINA
  QString Ecf;
  QString Intervalo;
  int MinutosReceb;    // since the last receipt; kNunca: none yet
  int MinutosEnvio;    // since the last sending; kNunca, or kMeiaNoite
  int Atraso;          // changes of the log not yet received; kNunca, or kPeloTempo
  int EntregasPendentes;
  int Fila, FilaPendentes, FilaErros;
  int ErrosAbertos, ErrosConferidos;

  QString CodFilial() const { return Filial.trimmed(); }
};
constexpr int kNunca = -1;
constexpr int kMeiaNoite = -2;  // exactly midnight: the grid shows the date alone
constexpr int kPeloTempo = -2;  // every change since the last receipt

// Twelve machines: eleven status rows, some with open errors (orange), one
// stopped for three days, one never synchronised, branch 03 stored as "03 ",
// and one of branch 07, which is missing from FILIAIS and so never shown.
//
// Branch, machine, interval; minutes since the last receipt and sending;
// changes behind; deliveries pending; queue entries, of them pending and in
// error; open and acknowledged errors.
const QList<Maquina> kMaquinas = {
    {"01", "CX01", "30", 2, 1, 0, 0, 14, 0, 0, 0, 2},  // up to date
    {"01", "CX02", "30", 4, 3, 12, 2, 18, 2, 1, 2, 1},  // open errors
    {"01", "CX03", "60", 1, 7, 3, 0, 10, 1, 0, 0, 0},  // up to date
    {"01", "CX04", "60", 3 * 24 * 60 + 2, 3 * 24 * 60 + 4, kPeloTempo, 5, 22, 0, 4, 1, 0},  // stopped three days ago
    {"02", "CX01", "15", 1, 1, 0, 0, 12, 0, 0, 0, 2},  // up to date
    {"02", "CX02", "15", 6, 5, 40, 3, 20, 1, 3, 3, 2},  // open errors
    {"02", "CX03", "120", kNunca, kNunca, kNunca, 0, 0, 0, 0, 0, 0},  // installed, never synchronised
    {"03 ", "CX01", "30", 2, 2, 8, 1, 16, 2, 0, 0, 0},  // trailing blank in the branch code
    {"03 ", "CX02", "30", 9, kMeiaNoite, 20, 0, 12, 0, 1, 1, 0},  // last sending at midnight
    {"04", "CX01", "45", 3, 3, 5, 0, 15, 0, 0, 0, 3},  // every error acknowledged
    {"04", "CX02", "45", 38, 36, 60, 2, 18, 1, 1, 1, 1},  // one open error
    {"07", "CX01", "30", 12, 11, 30, 0, 8, 0, 1, 1, 0},  // branch missing from FILIAIS
};

struct Alteracao {
  int Ordem = 0;
  QString Acao, Tabela, Inclui;
  QStringList Chaves;  // CHAVE0 onwards; a null text stays NULL
  QDateTime DataHora;
};

struct EntradaFila {
  int Maquina = 0;
  int IdOrigem = 0;
  QString Acao, Tabela, Script;
  int Status = 0;
  QDateTime Inclusao, Execucao;
};

struct Erro {
  int Maquina = 0;
  int Id = 0;
  QDateTime Data;
  QString Mensagem;  // a null text stays NULL
  QString Conferido;
};

struct LinhaLog {
  QDateTime Momento;
  QString Texto;
};

// The rows an ERP table holds once the log is over, by key text.
struct Linhas {
  QMap<QString, QStringList> PorChave;
  QList<QStringList> SemChave;
};

class Demo {
 public:
  Demo() : FSorteio(kSemente) {}

  void Gerar() {
    GerarCadastros();
    GerarAlteracoes();
    GerarEstadoMaquinas();
    GerarFila();
    GerarErros();
    GerarLog();
  }
  void Gravar(ConexaoBanco& conexao);
  QByteArray Log() const;
  int QtdAlteracoes() const { return int(FAlteracoes.size()); }

 private:
  QString ChaveTexto(const QStringList& chave) const { return chave.join(QChar(0x1f)); }
  Linhas& Tabela(const QString& nome) { return FLinhas[nome]; }
  bool Existe(const QString& tabela, const QStringList& chave) {
    return Tabela(tabela).PorChave.contains(ChaveTexto(chave));
  }
  void Guardar(const QString& tabela, const QStringList& valores, int tamanhoChave) {
    Tabela(tabela).PorChave[ChaveTexto(valores.mid(0, tamanhoChave))] = valores;
  }
  void Registrar(const QString& acao, const QString& tabela, const QStringList& chaves, const QDateTime& quando);
  void GerarCadastros();
  void GerarAlteracoes();
  void GerarEstadoMaquinas();
  void GerarFila();
  QString ScriptFila(const Maquina& m, const QString& acao, const QString& tabela, const QDateTime& quando);
  void GerarErros();
  QString TextoErro(int tipo, const Maquina& m, const QDateTime& quando);
  void GerarLog();
  bool Relevante(const Alteracao& a, const QString& filial) const {
    return (a.Tabela != QLatin1String("TRANSFESTOQUE") && a.Tabela != QLatin1String("MVGERAL")) ||
           (a.Tabela == QLatin1String("TRANSFESTOQUE") && a.Chaves.value(3) == filial) ||
           (a.Tabela == QLatin1String("MVGERAL") && a.Chaves.value(0) == filial);
  }
  QString NovoCliente();
  QString NomePessoa(int sobrenomes);
  QString Produto(int i) const;

  Sorteio FSorteio;
  QMap<QString, Linhas> FLinhas;
  QList<Alteracao> FAlteracoes;
  QList<int> FUltIdServer;  // per machine; NULL for one that never synchronised
  QList<int> FQtdRegReceb;  // -1 for NULL
  QList<QDateTime> FUltReceb, FUltEnvio;
  QList<EntradaFila> FFila;
  QList<Erro> FErros;
  QList<LinhaLog> FLog;
  int FProximoCliente = 0;
  QMap<QString, int> FProximoDocumento;
};

QString Demo::Produto(int i) const {
  const int tipo = i % int(kTiposProduto.size());
  const int marca = i / int(kTiposProduto.size());
  return Ean13(1000 + marca * 37, 10000 + tipo * 113);
}

// Drawn one part at a time: the order of the operands of "+" is not fixed.
QString Demo::NomePessoa(int sobrenomes) {
  QString nome = FSorteio.Um(kPrenomes);
  for (int i = 0; i < sobrenomes; ++i) nome += u' ' + FSorteio.Um(kSobrenomes);
  return nome;
}

QString Demo::NovoCliente() {
  const QString nome = NomePessoa(2);
  const QString codigo = QString::number(++FProximoCliente);
  Guardar(QStringLiteral("CLIENTES"), {codigo, nome, FSorteio.Um(kCidades), QStringLiteral("SP")}, 1);
  return codigo;
}

// What the ERP held before the log starts: the catalogue, the customers,
// the salespeople and the stock of the branches.
void Demo::GerarCadastros() {
  const int qtdProdutos = QtdProdutos();
  for (int i = 0; i < qtdProdutos * 5 / 6; ++i) {
    const TipoProduto& tipo = kTiposProduto[i % kTiposProduto.size()];
    const int marca = i / int(kTiposProduto.size());
    Guardar(QStringLiteral("PRODUTOS"),
            {Produto(i), tipo.Nome + u' ' + kMarcas[marca], tipo.Unidade, Dinheiro(tipo.Preco * (0.9 + marca * 0.015))},
            1);
    for (const QString& filial : kCodigosFiliais)
      if (FSorteio.Chance(80))
        Guardar(QStringLiteral("ESTOQUE"), {filial, Produto(i), QString::number(FSorteio.Entre(0, 240))}, 2);
  }
  for (int i = 0; i < 480; ++i) NovoCliente();
  for (int i = 1; i <= 16; ++i)
    Guardar(QStringLiteral("VENDEDORES"),
            {QString::number(i), NomePessoa(1), QStringLiteral("1.50")}, 1);
  for (const QString& filial : kCodigosFiliais) FProximoDocumento[filial] = 10000 + filial.toInt() * 1000;
}

void Demo::Registrar(const QString& acao, const QString& tabela, const QStringList& chaves, const QDateTime& quando) {
  Alteracao a;
  a.Ordem = int(FAlteracoes.size()) + 1;
  a.Acao = acao;
  a.Tabela = tabela;
  a.Chaves = chaves;
  // Price lists and notices of the head office are not for the machines.
  a.Inclui = FSorteio.Chance(4) ? QStringLiteral("N") : QStringLiteral("S");
  a.DataHora = quando;
  FAlteracoes << a;
}

// The general change log: kQtdAlteracoes changes over the eight days before
// kInstante, each one applied to the ERP rows it names.
void Demo::GerarAlteracoes() {
  const int qtdProdutos = QtdProdutos();
  QList<int> intervalos;
  int total = 0;
  for (int i = 0; i < kQtdAlteracoes; ++i) {
    intervalos << FSorteio.Entre(60, 400);
    total += intervalos.last();
  }
  QDateTime quando = kInstante.addSecs(-total - 20);
  QMap<QString, int> proximaTransf;
  for (int i = 0; i < kQtdAlteracoes; ++i) {
    quando = quando.addSecs(intervalos[i]);
    const int sorteio = FSorteio.Entre(1, 100);
    const QString filial = FSorteio.Um(kCodigosFiliais);
    if (sorteio <= 22) {
      const int p = FSorteio.Entre(0, qtdProdutos - 1);
      const QString codigo = Produto(p);
      const TipoProduto& tipo = kTiposProduto[p % kTiposProduto.size()];
      QStringList linha = {codigo, tipo.Nome + u' ' + kMarcas[p / kTiposProduto.size()], tipo.Unidade,
                           Dinheiro(tipo.Preco * (0.85 + FSorteio.Entre(0, 30) / 100.0))};
      if (!Existe(QStringLiteral("PRODUTOS"), {codigo})) {
        Guardar(QStringLiteral("PRODUTOS"), linha, 1);
        Registrar(QStringLiteral("I"), QStringLiteral("PRODUTOS"), {codigo}, quando);
      } else if (FSorteio.Chance(3)) {
        Tabela(QStringLiteral("PRODUTOS")).PorChave.remove(codigo);
        Registrar(QStringLiteral("E"), QStringLiteral("PRODUTOS"), {codigo}, quando);
      } else {
        Guardar(QStringLiteral("PRODUTOS"), linha, 1);
        Registrar(QStringLiteral("A"), QStringLiteral("PRODUTOS"), {codigo}, quando);
      }
    } else if (sorteio <= 47) {
      const QString codigo = Produto(FSorteio.Entre(0, qtdProdutos - 1));
      const QStringList chave = {filial, codigo};
      const QString acao = Existe(QStringLiteral("ESTOQUE"), chave) ? QStringLiteral("A") : QStringLiteral("I");
      Guardar(QStringLiteral("ESTOQUE"), chave + QStringList{QString::number(FSorteio.Entre(0, 300))}, 2);
      Registrar(acao, QStringLiteral("ESTOQUE"), chave, quando);
    } else if (sorteio <= 58) {
      if (FSorteio.Chance(35)) {
        Registrar(QStringLiteral("I"), QStringLiteral("CLIENTES"), {NovoCliente()}, quando);
      } else {
        const QString codigo = QString::number(FSorteio.Entre(1, FProximoCliente));
        if (!Existe(QStringLiteral("CLIENTES"), {codigo})) continue;
        if (FSorteio.Chance(4)) {
          Tabela(QStringLiteral("CLIENTES")).PorChave.remove(codigo);
          Registrar(QStringLiteral("E"), QStringLiteral("CLIENTES"), {codigo}, quando);
        } else {
          Tabela(QStringLiteral("CLIENTES")).PorChave[codigo][2] = FSorteio.Um(kCidades);
          Registrar(QStringLiteral("A"), QStringLiteral("CLIENTES"), {codigo}, quando);
        }
      }
    } else if (sorteio <= 60) {
      const QString codigo = QString::number(FSorteio.Entre(1, 16));
      Tabela(QStringLiteral("VENDEDORES")).PorChave[codigo][2] = Dinheiro(FSorteio.Entre(100, 300) / 100.0);
      Registrar(QStringLiteral("A"), QStringLiteral("VENDEDORES"), {codigo}, quando);
    } else if (sorteio <= 80) {
      // A sale of the branch; now and then a recent one is changed or cancelled.
      const int ultimo = FProximoDocumento[filial];
      const int numero = FSorteio.Chance(70) ? ++FProximoDocumento[filial] : FSorteio.Entre(ultimo - 20, ultimo);
      const QStringList chave = {filial, QStringLiteral("NFC"), QString::number(numero)};
      if (!Existe(QStringLiteral("MVGERAL"), chave)) {
        if (numero <= ultimo) continue;
        Guardar(QStringLiteral("MVGERAL"),
                chave + QStringList{Sql(quando), QString::number(FSorteio.Entre(1, FProximoCliente)),
                                    Dinheiro(FSorteio.Entre(500, 60000) / 100.0)},
                3);
        Registrar(QStringLiteral("I"), QStringLiteral("MVGERAL"), chave, quando);
      } else if (FSorteio.Chance(25)) {
        Tabela(QStringLiteral("MVGERAL")).PorChave.remove(ChaveTexto(chave));
        Registrar(QStringLiteral("E"), QStringLiteral("MVGERAL"), chave, quando);
      } else {
        Registrar(QStringLiteral("A"), QStringLiteral("MVGERAL"), chave, quando);
      }
    } else if (sorteio <= 86) {
      QString destino = FSorteio.Um(kCodigosFiliais);
      if (destino == filial) destino = filial == QLatin1String("05") ? QStringLiteral("01") : QStringLiteral("05");
      const int numero = ++proximaTransf[QStringLiteral("T") + filial];
      const QStringList chave = {filial, QStringLiteral("TR"), QString::number(numero), destino};
      Guardar(QStringLiteral("TRANSFESTOQUE"), chave + QStringList{Sql(quando), QStringLiteral("EM TRÂNSITO")}, 4);
      Registrar(QStringLiteral("I"), QStringLiteral("TRANSFESTOQUE"), chave, quando);
    } else if (sorteio <= 89) {
      // Transfers arrive: their situation changes at the destination.
      auto& linhas = Tabela(QStringLiteral("TRANSFESTOQUE")).PorChave;
      if (linhas.isEmpty()) continue;
      auto it = std::next(linhas.begin(), FSorteio.Entre(0, int(linhas.size()) - 1));
      const bool cancelar = FSorteio.Chance(10);
      const QStringList chave = it.value().mid(0, 4);
      if (cancelar) linhas.erase(it);
      else it.value()[5] = QStringLiteral("RECEBIDA");
      Registrar(cancelar ? QStringLiteral("E") : QStringLiteral("A"), QStringLiteral("TRANSFESTOQUE"), chave, quando);
    } else if (sorteio <= 97) {
      // The old transfer module: a header, its items, and deletions.
      const QStringList cabecalho = {filial, QString::number(++proximaTransf[QStringLiteral("O") + filial])};
      Guardar(QStringLiteral("TRANSF_ESTOQUE"),
              cabecalho + QStringList{Sql(quando), QStringLiteral("Reposição semanal da loja")}, 2);
      Registrar(QStringLiteral("I"), QStringLiteral("TRANSF_ESTOQUE"), cabecalho, quando);
      const int itens = FSorteio.Entre(1, 3);
      for (int item = 1; item <= itens; ++item) {
        const QStringList chave = cabecalho + QStringList{QString::number(item)};
        Guardar(QStringLiteral("TRANSF_ESTOQUE_ITENS"),
                chave + QStringList{Produto(FSorteio.Entre(0, qtdProdutos - 1)), QString::number(FSorteio.Entre(1, 48))},
                3);
        Registrar(QStringLiteral("I"), QStringLiteral("TRANSF_ESTOQUE_ITENS"), chave, quando);
      }
      if (FSorteio.Chance(30)) {
        const QStringList chave = cabecalho + QStringList{QString::number(itens)};
        Tabela(QStringLiteral("TRANSF_ESTOQUE_ITENS")).PorChave.remove(ChaveTexto(chave));
        Registrar(QStringLiteral("E"), QStringLiteral("TRANSF_ESTOQUE_ITENS"), chave, quando);
      }
    } else {
      // Notices to the cashiers: a table without a primary key.
      static const QStringList avisos = {
          "Promoção de hortifrúti válida até domingo.", "Conferir troco inicial antes da abertura do caixa.",
          "Não aceitar cheques de outras praças.", "Atualização de preços às 14h: aguarde a carga."};
      Tabela(QStringLiteral("AVISOSCAIXA")).SemChave << QStringList{filial, FSorteio.Um(avisos), Sql(quando)};
      Registrar(QStringLiteral("I"), QStringLiteral("AVISOSCAIXA"), {}, quando);
    }
  }
}

// Where each machine stands in the log, and its delivery records.
void Demo::GerarEstadoMaquinas() {
  const int n = int(FAlteracoes.size());
  for (const Maquina& m : kMaquinas) {
    QDateTime receb, envio;
    if (m.MinutosReceb != kNunca) receb = kInstante.addSecs(-m.MinutosReceb * 60 - FSorteio.Entre(0, 59));
    if (m.MinutosEnvio == kMeiaNoite) envio = QDateTime(kInstante.date(), QTime(0, 0));
    else if (m.MinutosEnvio != kNunca) envio = kInstante.addSecs(-m.MinutosEnvio * 60 - FSorteio.Entre(0, 59));
    int ult = 0;
    if (m.Atraso == kPeloTempo) {
      while (ult < n && FAlteracoes[ult].DataHora <= receb) ++ult;
    } else if (m.Atraso != kNunca) {
      ult = n - m.Atraso;
    }
    int aReceber = 0;
    for (int i = ult; i < n; ++i)
      if (Relevante(FAlteracoes[i], m.CodFilial())) ++aReceber;
    FUltReceb << receb;
    FUltEnvio << envio;
    FUltIdServer << ult;
    FQtdRegReceb << (m.Atraso == kNunca ? -1 : aReceber);
  }
}

QString Demo::ScriptFila(const Maquina& m, const QString& acao, const QString& tabela, const QDateTime& quando) {
  const QString f = m.CodFilial();
  const QString produto = Produto(FSorteio.Entre(0, QtdProdutos() - 1));
  const int documento = 50000 + FSorteio.Entre(0, 9999);
  if (acao == QLatin1String("P"))
    return QStringLiteral("EXECUTE PROCEDURE SP_FECHAR_CAIXA(%1, %2, %3);")
        .arg(Aspas(f), Aspas(m.Ecf), Aspas(quando.toString(QStringLiteral("yyyy-MM-dd"))));
  if (tabela == QLatin1String("MVGERAL")) {
    if (acao == QLatin1String("E"))
      return QStringLiteral("DELETE FROM MVGERAL\r\nWHERE CODEMPRESA = %1 AND SERIE = 'NFC' AND NUMDOCUMENTO = %2;")
          .arg(Aspas(f))
          .arg(documento);
    if (acao == QLatin1String("A"))
      return QStringLiteral("UPDATE MVGERAL SET VALORTOTAL = %1\r\nWHERE CODEMPRESA = %2 AND SERIE = 'NFC' AND "
                            "NUMDOCUMENTO = %3;")
          .arg(Dinheiro(FSorteio.Entre(500, 40000) / 100.0), Aspas(f))
          .arg(documento);
    return QStringLiteral("INSERT INTO MVGERAL (CODEMPRESA, SERIE, NUMDOCUMENTO, DATAEMISSAO, CODCLIENTE, VALORTOTAL)\r\n"
                          "VALUES (%1, 'NFC', %2, %3, %4, %5);\r\n"
                          "UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %6\r\n"
                          "WHERE CODEMPRESA = %1 AND CODPRODUTO = %7;")
        .arg(Aspas(f))
        .arg(documento)
        .arg(Aspas(Sql(quando)))
        .arg(FSorteio.Entre(1, FProximoCliente))
        .arg(Dinheiro(FSorteio.Entre(500, 40000) / 100.0))
        .arg(FSorteio.Entre(1, 6))
        .arg(Aspas(produto));
  }
  if (tabela == QLatin1String("CLIENTES")) {
    const QString nome = NomePessoa(1);
    if (acao == QLatin1String("A"))
      return QStringLiteral("UPDATE CLIENTES SET CIDADE = %1\r\nWHERE CODCLIENTE = %2;")
          .arg(Aspas(FSorteio.Um(kCidades)))
          .arg(FSorteio.Entre(1, FProximoCliente));
    return QStringLiteral("INSERT INTO CLIENTES (CODCLIENTE, NOME, CIDADE, UF)\r\nVALUES (%1, %2, %3, 'SP');")
        .arg(900000 + documento)
        .arg(Aspas(nome), Aspas(FSorteio.Um(kCidades)));
  }
  return QStringLiteral("UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %1\r\nWHERE CODEMPRESA = %2 AND CODPRODUTO = %3;")
      .arg(FSorteio.Entre(1, 12))
      .arg(Aspas(f), Aspas(produto));
}

// The entries each machine sent: the newest still pending, some that ended
// in error, the rest executed. Two carry codes the panel has no label for.
void Demo::GerarFila() {
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    QDateTime quando = FUltEnvio[i].isValid() ? FUltEnvio[i] : kInstante;
    for (int k = 0; k < m.Fila; ++k) {
      EntradaFila e;
      e.Maquina = i;
      e.IdOrigem = 7000 + 1000 * i + m.Fila - k;
      const int tipo = FSorteio.Entre(1, 100);
      if (tipo <= 45) e.Acao = QStringLiteral("I"), e.Tabela = QStringLiteral("MVGERAL");
      else if (tipo <= 65) e.Acao = QStringLiteral("A"), e.Tabela = QStringLiteral("ESTOQUE");
      else if (tipo <= 75) e.Acao = QStringLiteral("I"), e.Tabela = QStringLiteral("CLIENTES");
      else if (tipo <= 83) e.Acao = QStringLiteral("A"), e.Tabela = QStringLiteral("CLIENTES");
      else if (tipo <= 93) e.Acao = QStringLiteral("E"), e.Tabela = QStringLiteral("MVGERAL");
      else e.Acao = QStringLiteral("P"), e.Tabela = QStringLiteral("CAIXA");
      if (k < m.FilaPendentes) e.Status = 0;
      else if (k < m.FilaPendentes + m.FilaErros) e.Status = 3;
      else e.Status = FSorteio.Chance(70) ? 2 : 1;
      e.Inclusao = quando;
      e.Script = ScriptFila(m, e.Acao, e.Tabela, quando);
      if (e.Status != 0) e.Execucao = quando.addSecs(FSorteio.Entre(2, 90));
      FFila << e;
      quando = quando.addSecs(-FSorteio.Entre(4 * 60, 40 * 60));
    }
  }
  // Codes outside the panel's lists: an entry waiting for review (status 4)
  // and a cancellation sent by a newer version of the machine's program.
  FFila[3].Status = 4;
  FFila[3].Execucao = QDateTime();
  FFila[FFila.size() / 2].Acao = QStringLiteral("C");
  FFila[FFila.size() / 2].Status = 9;
  FFila[FFila.size() / 2].Execucao = QDateTime();
}

// Short messages, and long ones of several kilobytes: a failed script with
// the server's answer and the call stack, a stock reconciliation report, a
// list of connection attempts.
QString Demo::TextoErro(int tipo, const Maquina& m, const QDateTime& quando) {
  const QString f = m.CodFilial();
  switch (tipo) {
    case 0: {
      QString texto = QStringLiteral(
          "Erro ao executar o script da fila de integração (ID de origem %1) na máquina %2 da filial %3.\r\n"
          "Mensagem do servidor:\r\n"
          "violation of FOREIGN KEY constraint \"FK_MVGERAL_CLIENTES\" on table \"MVGERAL\"\r\n"
          "Foreign key reference target does not exist\r\n"
          "Problematic key value is (\"CODCLIENTE\" = %4)\r\n\r\nScript:\r\n")
                          .arg(FSorteio.Entre(7000, 19999))
                          .arg(m.Ecf, f)
                          .arg(900000 + FSorteio.Entre(0, 9999));
      const int documento = 50000 + FSorteio.Entre(0, 9999);
      texto += QStringLiteral("INSERT INTO MVGERAL (CODEMPRESA, SERIE, NUMDOCUMENTO, DATAEMISSAO, CODCLIENTE, VALORTOTAL)"
                              "\r\nVALUES (%1, 'NFC', %2, %3, 9%4, %5);\r\n")
                   .arg(Aspas(f))
                   .arg(documento)
                   .arg(Aspas(Sql(quando)))
                   .arg(FSorteio.Entre(10000, 99999))
                   .arg(Dinheiro(FSorteio.Entre(5000, 90000) / 100.0));
      for (int item = 1; item <= 32; ++item)
        texto += QStringLiteral("UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %1 WHERE CODEMPRESA = %2 AND "
                                "CODPRODUTO = %3;\r\n")
                     .arg(FSorteio.Entre(1, 9))
                     .arg(Aspas(f), Aspas(Produto(FSorteio.Entre(0, QtdProdutos() - 1))));
      texto += QStringLiteral("\r\nPilha de chamadas:\r\n");
      const QStringList pilha = {"TIntegracaoOffLine.ExecutarScript (uIntegracaoOffLine.pas, linha 812)",
                                 "TIntegracaoOffLine.ProcessarEntrada (uIntegracaoOffLine.pas, linha 655)",
                                 "TIntegracaoOffLine.ProcessarFila (uIntegracaoOffLine.pas, linha 590)",
                                 "TServicoIntegracao.Ciclo (uServicoIntegracao.pas, linha 214)",
                                 "TServicoIntegracao.Execute (uServicoIntegracao.pas, linha 160)"};
      for (const QString& chamada : pilha) texto += QStringLiteral("  em ") + chamada + QStringLiteral("\r\n");
      return texto;
    }
    case 1:
      return QStringLiteral("Tempo limite esgotado ao aguardar resposta do servidor central (30 s).");
    case 2: {
      QString texto = QStringLiteral(
          "Divergências de estoque na conferência do lote %1 da filial %2, máquina %3.\r\n"
          "O lote não foi integrado. Corrija os saldos abaixo e reenvie o lote.\r\n\r\n"
          "Produto         Descrição                                    Servidor    Máquina   Diferença\r\n")
                          .arg(quando.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("03"), f, m.Ecf);
      for (int i = 0; i < 40; ++i) {
        const int p = FSorteio.Entre(0, QtdProdutos() - 1);
        const int servidor = FSorteio.Entre(0, 300);
        const int maquina = servidor + FSorteio.Entre(-12, 12);
        texto += QStringLiteral("%1   %2 %3 %4 %5\r\n")
                     .arg(Produto(p))
                     .arg((kTiposProduto[p % kTiposProduto.size()].Nome + u' ' + kMarcas[p / kTiposProduto.size()])
                              .left(44),
                          -44)
                     .arg(servidor, 8)
                     .arg(maquina, 10)
                     .arg(maquina - servidor, 11);
      }
      return texto + QStringLiteral("\r\nTotal: 40 produtos com saldo divergente.");
    }
    case 3:
      return QStringLiteral("Cliente %1 já cadastrado com outro CPF na filial %2.").arg(FSorteio.Entre(1, 480)).arg(f);
    case 4: {
      QString texto = QStringLiteral("Falha ao enviar o lote de registros da máquina %1 (filial %2) ao servidor central.\r\n"
                                     "Tentativas de conexão:\r\n")
                          .arg(m.Ecf, f);
      QDateTime tentativa = quando.addSecs(-25 * 120);
      for (int i = 1; i <= 25; ++i) {
        tentativa = tentativa.addSecs(120);
        texto += QStringLiteral("%1  tentativa %2 de 25: Unable to complete network request to host \"srv-aurora\".\r\n"
                                "                     Failed to establish a connection. (código 335544721)\r\n")
                     .arg(Br(tentativa))
                     .arg(i, 2);
      }
      return texto + QStringLiteral("Verifique a conexão da loja com a matriz e o serviço Firebird no servidor.");
    }
    case 5:
      return QStringLiteral("Conflito de bloqueio ao atualizar ESTOQUE: o registro está em uso por outra transação.");
    default:
      return QStringLiteral("Número de série do documento fiscal fora da faixa autorizada para a máquina %1.").arg(m.Ecf);
  }
}

// Open errors are recent; the acknowledged ones are older. Kinds go round so
// that long and short texts are both open and both acknowledged.
void Demo::GerarErros() {
  int tipo = 0;
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    const QDateTime referencia = FUltReceb[i].isValid() ? FUltReceb[i] : kInstante;
    int id = 0;
    for (int k = 0; k < m.ErrosConferidos; ++k) {
      const QDateTime quando = referencia.addSecs(-FSorteio.Entre(2 * 86400, 6 * 86400));
      FErros << Erro{i, ++id, quando, TextoErro(tipo++ % 7, m, quando), QStringLiteral("S")};
    }
    for (int k = 0; k < m.ErrosAbertos; ++k) {
      const QDateTime quando = referencia.addSecs(-FSorteio.Entre(60, 5 * 3600));
      // The stopped machine's last word: it could not reach the server.
      const int qual = m.Atraso == kPeloTempo ? 4 : tipo++ % 7;
      FErros << Erro{i, ++id, quando, TextoErro(qual, m, quando), QStringLiteral("N")};
    }
  }
  // An acknowledged error without text (nothing opens on a double click),
  // and one whose flag was never set (neither open nor acknowledged).
  FErros << Erro{4, 3, kInstante.addDays(-4), QString(), QStringLiteral("S")};
  FErros << Erro{9, 4, kInstante.addDays(-1), TextoErro(1, kMaquinas[9], kInstante.addDays(-1)), QString()};
}

// The integration service's log of the last six hours: one block per cycle
// of each machine that had something to do, the errors, and the warnings
// about the machine that stopped.
void Demo::GerarLog() {
  const QDateTime inicio = kInstante.addSecs(-6 * 3600);
  FLog << LinhaLog{inicio.addSecs(-300), QStringLiteral("Serviço de integração off-line iniciado (Velmora 29.07).")};
  FLog << LinhaLog{inicio.addSecs(-298), QStringLiteral("Banco central: srv-aurora:/dados/velmora.fdb; %1 máquinas "
                                                        "cadastradas.")
                                             .arg(kMaquinas.size())};
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    const QString nome = QStringLiteral("[%1-%2] ").arg(m.CodFilial(), m.Ecf);
    if (!FUltReceb[i].isValid()) {
      FLog << LinhaLog{inicio.addSecs(FSorteio.Entre(0, 3600)),
                       nome + QStringLiteral("Máquina cadastrada, aguardando a primeira sincronização.")};
      continue;
    }
    if (FUltReceb[i] < inicio) {
      for (QDateTime t = inicio.addSecs(600); t < kInstante; t = t.addSecs(3600))
        FLog << LinhaLog{t, nome + QStringLiteral("ATENÇÃO: sem comunicação desde %1.").arg(Br(FUltReceb[i]))};
      continue;
    }
    // Cycles go back from the last receipt; each delivers the changes that
    // came since the one before, up to the machine's last received change.
    QList<QDateTime> ciclos;
    for (QDateTime t = FUltReceb[i]; t > inicio; t = t.addSecs(-FSorteio.Entre(6 * 60, 18 * 60))) ciclos.prepend(t);
    int proxima = 0;
    while (proxima < FAlteracoes.size() && FAlteracoes[proxima].DataHora <= inicio) ++proxima;
    for (const QDateTime& ciclo : ciclos) {
      int primeira = 0, ultima = 0, qtd = 0;
      while (proxima < FUltIdServer[i] && FAlteracoes[proxima].DataHora <= ciclo) {
        const Alteracao& a = FAlteracoes[proxima++];
        if (!Relevante(a, m.CodFilial())) continue;
        if (qtd++ == 0) primeira = a.Ordem;
        ultima = a.Ordem;
      }
      if (qtd == 1)
        FLog << LinhaLog{ciclo, nome + QStringLiteral("Enviado 1 registro à máquina (ORDEM %1).").arg(primeira)};
      else if (qtd > 1)
        FLog << LinhaLog{ciclo, nome + QStringLiteral("Enviados %1 registros à máquina (ORDEM %2 a %3).")
                                           .arg(qtd)
                                           .arg(primeira)
                                           .arg(ultima)};
      else
        FLog << LinhaLog{ciclo, nome + QStringLiteral("Sincronização concluída: nada a enviar.")};
    }
  }
  // What the machines sent: each queue entry as it arrived, and the ones
  // whose script failed.
  const QMap<QString, QString> acoes = {{"A", "alteração"}, {"I", "inclusão"}, {"E", "exclusão"}, {"P", "procedure"}};
  for (const EntradaFila& e : FFila) {
    const QString nome = QStringLiteral("[%1-%2] ").arg(kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf);
    if (e.Inclusao >= inicio)
      FLog << LinhaLog{e.Inclusao, nome + QStringLiteral("Recebida da máquina a entrada %1 (%2 em %3); incluída na "
                                                         "fila de integração.")
                                              .arg(e.IdOrigem)
                                              .arg(acoes.value(e.Acao, QStringLiteral("ação ") + e.Acao), e.Tabela)};
    if (e.Status == 3 && e.Execucao >= inicio)
      FLog << LinhaLog{e.Execucao, nome + QStringLiteral("ERRO ao executar a entrada %1 da fila (%2): o script "
                                                         "falhou e a entrada ficou com situação Erro.")
                                              .arg(e.IdOrigem)
                                              .arg(e.Tabela)};
  }
  for (const Erro& e : FErros)
    if (e.Data >= inicio && !e.Mensagem.isEmpty())
      FLog << LinhaLog{e.Data, QStringLiteral("[%1-%2] Erro de integração nº %3 registrado: %4")
                                   .arg(kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf)
                                   .arg(e.Id)
                                   .arg(e.Mensagem.section(QStringLiteral("\r\n"), 0, 0))};
  std::stable_sort(FLog.begin(), FLog.end(),
                   [](const LinhaLog& a, const LinhaLog& b) { return a.Momento < b.Momento; });
}

QByteArray Demo::Log() const {
  QString texto;
  for (const LinhaLog& l : FLog) texto += Br(l.Momento) + QStringLiteral("  ") + l.Texto + QStringLiteral("\r\n");
  return Windows1252::deUnicode(texto);
}

// ------------------------------------------------------------ writing it out

// One INSERT prepared once and run per row. A null QString is stored as NULL.
class Insercao {
 public:
  Insercao(ConexaoBanco& conexao, const QString& tabela, const QStringList& colunas) : FConsulta(&conexao) {
    QStringList nomes;
    for (int i = 0; i < colunas.size(); ++i) nomes << QStringLiteral(":P%1").arg(i);
    FConsulta.SetSql(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(tabela, colunas.join(QStringLiteral(", ")), nomes.join(QStringLiteral(", "))));
    FQtd = int(colunas.size());
  }
  void Executar(const QStringList& valores) {
    for (int i = 0; i < FQtd; ++i) {
      const QString nome = QStringLiteral("P%1").arg(i);
      const QString valor = valores.value(i);
      if (valor.isNull()) FConsulta.SetParamNulo(nome);
      else FConsulta.SetParam(nome, valor);
    }
    FConsulta.Executar();
  }

 private:
  ConsultaSql FConsulta;
  int FQtd = 0;
};

QString Inteiro(int valor) { return QString::number(valor); }
QString DataOuNulo(const QDateTime& valor) { return valor.isValid() ? Sql(valor) : QString(); }

void Executar(ConexaoBanco& conexao, const QString& sql, const QStringList& nomes = {},
              const QStringList& valores = {}) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(sql);
  for (int i = 0; i < nomes.size(); ++i) consulta.SetParam(nomes[i], valores[i]);
  consulta.Executar();
}

void Demo::Gravar(ConexaoBanco& conexao) {
  conexao.IniciarTransacao();
  {
    Insercao filiais(conexao, QStringLiteral("FILIAIS"), {"CODEMPRESA", "NOMEEMPRESA", "CNPJ"});
    for (const Filial& f : kFiliais) filiais.Executar({f.Codigo, f.Nome, f.Cnpj});
    Insercao paradiv(conexao, QStringLiteral("PARADIV"), {"ID_DESCRICAO", "CAMPOINTEGER", "CAMPOTEXTO"});
    paradiv.Executar({"TEMPOATUALIZACAOPAINEL", "15", "Intervalo de atualização do painel (segundos)"});
    paradiv.Executar({"DIASMANTERFILAINTEG", "30", "Dias que a fila de integração é mantida"});
    paradiv.Executar({"QTDREGLOTEINTEG", "500", "Registros por lote enviado às máquinas"});
    Insercao paraweb(conexao, QStringLiteral("PARAWEB"), {"UTILIZAINTEGWEBSERVICE"});
    paraweb.Executar({"S"});

    for (const TabelaErp& t : kTabelasErp) {
      QStringList colunas;
      for (const Coluna& c : t.Colunas) colunas << c.Nome;
      Insercao insercao(conexao, t.Nome, colunas);
      const Linhas& linhas = FLinhas.value(t.Nome);
      for (const QStringList& l : linhas.PorChave) insercao.Executar(l);
      for (const QStringList& l : linhas.SemChave) insercao.Executar(l);
    }
  }
  conexao.ConfirmarTransacao();

  conexao.IniciarTransacao();
  {
    QStringList colunas = {"ORDEM", "ACAO", "TABELA"};
    for (int i = 0; i < 10; ++i) colunas << QStringLiteral("CHAVE%1").arg(i);
    colunas << QStringLiteral("INCINTEGMAQUINA") << QStringLiteral("DATAHORA");
    Insercao log(conexao, QStringLiteral("MVINTEGGERAL"), colunas);
    for (const Alteracao& a : FAlteracoes) {
      QStringList valores = {Inteiro(a.Ordem), a.Acao, a.Tabela};
      for (int i = 0; i < 10; ++i) valores << (i < a.Chaves.size() ? a.Chaves[i] : QString());
      valores << a.Inclui << Sql(a.DataHora);
      log.Executar(valores);
    }
  }
  conexao.ConfirmarTransacao();

  conexao.IniciarTransacao();
  {
    Insercao maquinas(conexao, QStringLiteral("IGFMAQUINA"),
                      {"MAQUINA", "MAQUINAECF", "INTERVALO", "QTDREGRECEB", "ULTRECEB", "ULTENVIO", "ULTIDSERVER"});
    Insercao entregas(conexao, QStringLiteral("INTEGMAQUINA"), {"MAQUINA", "MAQUINAECF", "ORDEM", "ATUALIZOU"});
    for (int i = 0; i < kMaquinas.size(); ++i) {
      const Maquina& m = kMaquinas[i];
      const int ult = FUltIdServer[i];
      maquinas.Executar({m.Filial, m.Ecf, m.Intervalo, FQtdRegReceb[i] < 0 ? QString() : Inteiro(FQtdRegReceb[i]),
                         DataOuNulo(FUltReceb[i]), DataOuNulo(FUltEnvio[i]), m.Atraso == kNunca ? QString() : Inteiro(ult)});
      if (m.Atraso == kNunca) continue;
      // Everything up to the last received change is integrated; of it, the
      // latest forty changes for the branch are on the delivery list as
      // delivered, and the first ones after it wait there for delivery.
      Executar(conexao,
               QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) SELECT CAST(:MAQUINA AS "
                              "VARCHAR(3)), CAST(:MAQUINAECF AS VARCHAR(10)), ORDEM FROM MVINTEGGERAL WHERE ORDEM <= "
                              ":ULTIMA"),
               {"MAQUINA", "MAQUINAECF", "ULTIMA"}, {m.CodFilial(), m.Ecf, Inteiro(ult)});
      QList<int> entregues;
      for (int o = ult - 1; o >= 0 && entregues.size() < 40; --o)
        if (Relevante(FAlteracoes[o], m.CodFilial())) entregues.prepend(FAlteracoes[o].Ordem);
      for (int ordem : entregues) entregas.Executar({m.CodFilial(), m.Ecf, Inteiro(ordem), "S"});
      int pendentes = 0;
      for (int o = ult; o < FAlteracoes.size() && pendentes < m.EntregasPendentes; ++o)
        if (Relevante(FAlteracoes[o], m.CodFilial())) {
          entregas.Executar({m.CodFilial(), m.Ecf, Inteiro(FAlteracoes[o].Ordem), "N"});
          ++pendentes;
        }
    }

    // Queue IDs are given centrally in order of arrival.
    QList<int> ordem(FFila.size());
    for (int i = 0; i < ordem.size(); ++i) ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(),
                     [this](int a, int b) { return FFila[a].Inclusao < FFila[b].Inclusao; });
    Insercao fila(conexao, QStringLiteral("FILAINTEGOFFLINE"),
                  {"ID", "ID_ORIGEM", "CODEMPRESA", "MAQUINA", "ACAO", "STATUS", "TABELA", "SCRIPT", "DATA_INCLUSAO",
                   "DATA_EXECUCAO"});
    int id = 48200;
    for (int i : ordem) {
      const EntradaFila& e = FFila[i];
      const Maquina& m = kMaquinas[e.Maquina];
      fila.Executar({Inteiro(++id), Inteiro(e.IdOrigem), m.CodFilial(), m.Ecf, e.Acao, Inteiro(e.Status), e.Tabela,
                     e.Script, Sql(e.Inclusao), DataOuNulo(e.Execucao)});
    }

    Insercao erros(conexao, QStringLiteral("INTEGERRO"),
                   {"CODEMPRESA", "MAQUINAECF", "IDINTEGERRO", "DATAERRO", "MSGERRO", "CONFERIDO"});
    for (const Erro& e : FErros)
      erros.Executar({kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf, Inteiro(e.Id), Sql(e.Data),
                      e.Mensagem, e.Conferido});
  }
  conexao.ConfirmarTransacao();
}

// ------------------------------------------------------------------- main

struct Opcoes {
  QString Esquema, Banco, Log;
};

bool Ler(const QStringList& argumentos, Opcoes& opcoes) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    const QString valor = arg.section(u'=', 1);
    if (arg.startsWith(QLatin1String("--esquema="))) opcoes.Esquema = valor;
    else if (arg.startsWith(QLatin1String("--banco="))) opcoes.Banco = valor;
    else if (arg.startsWith(QLatin1String("--log="))) opcoes.Log = valor;
    else return false;
  }
  return !opcoes.Esquema.isEmpty() && !opcoes.Banco.isEmpty();
}

void Relatar(const QString& mensagem) { std::fprintf(stderr, "%s\n", qUtf8Printable(mensagem)); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Opcoes opcoes;
  if (!Ler(app.arguments(), opcoes)) {
    Relatar(QStringLiteral("Uso: construir-demo --esquema=schema.sql --banco=ARQUIVO.fdb [--log=ARQUIVO.txt]"));
    return 2;
  }
  QFile esquema(opcoes.Esquema);
  if (!esquema.open(QIODevice::ReadOnly)) {
    Relatar(QStringLiteral("Esquema não encontrado: %1").arg(opcoes.Esquema));
    return 2;
  }
  const QString banco = QFileInfo(opcoes.Banco).absoluteFilePath();
  if (QFileInfo::exists(banco)) {
    Relatar(QStringLiteral("O banco %1 já existe; apague-o para construir outro.").arg(banco));
    return 1;
  }
  if (!QDir().mkpath(QFileInfo(banco).absolutePath())) {
    Relatar(QStringLiteral("Não foi possível criar a pasta de %1.").arg(banco));
    return 1;
  }
  // Left over by a build that was interrupted: it was never complete.
  const QString parcial = banco + QStringLiteral(".parcial");
  QFile::remove(parcial);

  QElapsedTimer relogio;
  relogio.start();
  Demo demo;
  try {
    demo.Gerar();
    ConexaoBanco conexao;
    CriacaoBanco::CriarBanco(parcial);
    conexao.SetParam(QStringLiteral("Database"), parcial);
    conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
    // Every table in one transaction, committed before the first row.
    conexao.IniciarTransacao();
    CriacaoBanco::ExecutarScript(conexao, QString::fromUtf8(esquema.readAll()));
    CriacaoBanco::ExecutarScript(conexao, DdlTabelas());
    conexao.ConfirmarTransacao();
    demo.Gravar(conexao);
    conexao.Fechar();
  } catch (const Falha& falha) {
    QFile::remove(parcial);
    Relatar(QStringLiteral("Falha ao construir o banco de demonstração: %1").arg(falha.Mensagem()));
    return 1;
  }
  if (!QFile::rename(parcial, banco)) {
    QFile::remove(parcial);
    Relatar(QStringLiteral("Não foi possível gravar %1.").arg(banco));
    return 1;
  }
  if (!opcoes.Log.isEmpty()) {
    QSaveFile log(opcoes.Log);
    if (!log.open(QIODevice::WriteOnly) || log.write(demo.Log()) < 0 || !log.commit()) {
      Relatar(QStringLiteral("Não foi possível gravar o log %1.").arg(opcoes.Log));
      return 1;
    }
  }
  std::printf("%s\n", qUtf8Printable(QStringLiteral("Banco de demonstração criado em %1 s: %2 (%3 KB, %4 alterações)")
                                         .arg(relogio.elapsed() / 1000.0, 0, 'f', 1)
                                         .arg(banco)
                                         .arg(QFileInfo(banco).size() / 1024)
                                         .arg(demo.QtdAlteracoes())));
  return 0;
}
