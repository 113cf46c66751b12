#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The demo's scenario: the moment it shows, the machines and the state each
// is in, and the records the generation produces for the writing.

// The moment the demo shows: a Monday morning.
extern const QDateTime kInstante;
constexpr quint64 kSemente = 0x5EED2026;
constexpr int kQtdAlteracoes = 3000;

QString Sql(const QDateTime& momento);
QString Br(const QDateTime& momento);
QString Dinheiro(double valor);
QString Aspas(const QString& texto);

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
extern const QList<Maquina> kMaquinas;

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
struct LinhasTabela {
  QMap<QString, QStringList> PorChave;
  QList<QStringList> SemChave;
};

// Where a machine stands at kInstante. An invalid moment is NULL.
struct EstadoMaquina {
  QDateTime UltReceb, UltEnvio;
  int UltIdServer = 0;   // changes received; NULL for a machine that never synchronised
  int QtdRegReceb = -1;  // -1 for NULL
};

// Everything the demo database and the log file hold; states, queue
// entries and errors refer to machines by their index in kMaquinas.
struct ConteudoDemo {
  QMap<QString, LinhasTabela> Tabelas;
  QList<Alteracao> Alteracoes;
  QList<EstadoMaquina> Estados;
  QList<EntradaFila> Fila;
  QList<Erro> Erros;
  QList<LinhaLog> Log;
};

// Whether a change of the log goes to the machines of a branch: sales and
// transfers only to their own branch, the rest to every one.
bool Relevante(const Alteracao& a, const QString& filial);
