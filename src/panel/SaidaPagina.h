#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

#include "panel/HistoricoStatus.h"
#include "panel/LinhaStatus.h"

// What the status page of the service reads, as JSON (UTF-8). The page shows
// the grid's rows and adds what the history says about each machine.
//
// /painel.json (Painel):
//   {
//     "agora": "yyyy-MM-ddTHH:mm:ss",         the time ages are counted from
//     "lidas_em": "dd/MM/yyyy HH:mm:ss"|null, the last completed refresh
//     "banco_inacessivel_desde": "dd/MM/yyyy HH:mm:ss"|null,
//     "erro": "..."|null,                     why the last refresh failed
//     "idade_maxima_minutos": 60,             a row older than this is late
//     "atualizar_segundos": 15,               the page asks again at this pace
//     "colunas": [{"titulo": "Filial", "campo": "NOME", "tipo": "texto"|"data"|"numero",
//                  "alinhamento": "esquerda"|"centro"|"direita"}, ...]
//                  the grid's columns in its order; "Maq. ECF" only when shown
//     "linhas": [{
//       "valores": {"CODEMPRESA": "01", "NOME": ..., "ULTRECEB": "yyyy-MM-ddTHH:mm:ss"|null,
//                   "QTDREGRECEB": 12, ...}       every field, as --status --format=json
//       "textos":  {"NOME": ..., "ULTRECEB": "02/03/2026 08:00:00", ...}  the grid's cell texts
//       "idades":  {"ULTRECEB": "há 3 min", "ULTENVIO": "nunca"}
//       "dicas":   {"QTDREGRECEB": "Últimos 15 min: caiu 30 em 15 min\nPrevisão: ≈ 12 min", ...}
//       "erro": true,          unacknowledged errors (the orange rows)
//       "atrasada": true,      last receipt or send absent or older than the limit
//       "previsao": "≈ 12 min" the machine's time to catch up
//       "grafico": [[seconds since the epoch, backlog], ...]  at most 48 points
//     }, ...]                   in the order of the status statement
//   }
//
// /history.json?filial=..&maquina=.. (Historico): one machine's points,
//   {"filial": "01", "maquina": "A1", "resolucao_segundos": 60,
//    "pontos": [{"instante": "yyyy-MM-ddTHH:mm:ss", "QTDREGRECEB": n, "QTDREGENVIAR": n,
//                "QTDREGFILA": n, "STATUSERRO": "Sim"|"Não",
//                "ULTRECEB": "yyyy-MM-ddTHH:mm:ss"|null, "ULTENVIO": ...|null}, ...]}
//   oldest first.
//
// Texts from the database go out as JSON strings; the page puts them into
// the document as text, never as markup.
//
// Threads: any, as long as FormatoDataHora's time format was fixed first.
namespace SaidaPagina {

struct Estado {
  std::vector<LinhaStatus> Linhas;
  QDateTime LidasEm;           // invalid: no refresh completed yet
  QDateTime InacessivelDesde;  // invalid: the last refresh succeeded
  QString Erro;
  bool MostrarMaquina = false;
  qint64 IdadeMaximaMinutos = 60;
  int AtualizarSegundos = 15;
};

static constexpr int kPontosGrafico = 48;

QByteArray Painel(const Estado& estado, const HistoricoStatus& historico, const QDateTime& agora);

// False for a machine the history does not know (the service answers 404).
bool Historico(const HistoricoStatus& historico, const QString& filial, const QString& maquina, QByteArray& json);

}  // namespace SaidaPagina
