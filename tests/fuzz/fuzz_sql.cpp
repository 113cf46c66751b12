// The named-parameter parser over any statement text. Its list of bound names
// must be exactly the ":NAME"s that stand outside quoted texts, quoted
// identifiers and comments, found here by a separate scan; the positional text
// must give the original back when each "?" of a parameter is replaced by its
// ":NAME"; parsing the positional text again finds nothing and changes
// nothing; and letter case changes no name.
#include <QList>

#include "Exigencia.h"

#include "platform/SqlComParametros.h"
#include "platform/Windows1252.h"

namespace {

bool IniciaNome(QChar c) { return c.isLetter() || c == u'_'; }
bool ContinuaNome(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// Positions of the ":" of every parameter: a state machine over the text that
// knows only where code stops and quotes and comments start and end.
QList<qsizetype> Parametros(const QString& sql) {
  enum class Estado { Codigo, Aspas, Comentario, Bloco } estado = Estado::Codigo;
  QChar aspa;
  QList<qsizetype> posicoes;
  const qsizetype n = sql.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = sql[i];
    const QChar proximo = i + 1 < n ? sql[i + 1] : QChar();
    switch (estado) {
      case Estado::Codigo:
        if (c == u'\'' || c == u'"') {
          estado = Estado::Aspas;
          aspa = c;
        } else if (c == u'-' && proximo == u'-') {
          estado = Estado::Comentario;
          ++i;
        } else if (c == u'/' && proximo == u'*') {
          estado = Estado::Bloco;
          ++i;
        } else if (c == u':' && IniciaNome(proximo)) {
          posicoes.append(i);
          while (i + 1 < n && ContinuaNome(sql[i + 1])) ++i;
        }
        break;
      case Estado::Aspas:
        // A doubled quote is one quote inside the text; the pair is skipped.
        if (c == aspa) {
          if (proximo == aspa)
            ++i;
          else
            estado = Estado::Codigo;
        }
        break;
      case Estado::Comentario:
        if (c == u'\n') estado = Estado::Codigo;
        break;
      case Estado::Bloco:
        if (c == u'*' && proximo == u'/') {
          estado = Estado::Codigo;
          ++i;
        }
        break;
    }
  }
  return posicoes;
}

QString TrocarCaixaAscii(QString texto) {
  for (QChar& c : texto) {
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
      c = QChar(u - 32);
    else if (u >= u'A' && u <= u'Z')
      c = QChar(u + 32);
  }
  return texto;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho) {
  // Inputs are Windows-1252 bytes (how statements leave the program); one
  // that starts with a zero byte is UTF-16 after it, so that any character
  // reaches the parser.
  QString sql;
  if (tamanho > 0 && dados[0] == 0) {
    for (size_t i = 1; i + 1 < tamanho; i += 2) sql.append(QChar(char16_t(dados[i] | (dados[i + 1] << 8))));
  } else
    sql = Windows1252::paraUnicode(reinterpret_cast<const char*>(dados), qsizetype(tamanho));

  const SqlComParametros analisado(sql);
  const QStringList& nomes = analisado.NomesPorPosicao();
  const QString& posicional = analisado.Posicional();
  EXIGIR(analisado.Original() == sql, "texto original alterado");

  // The same names, in the same order, as the separate scan finds.
  const QList<qsizetype> posicoes = Parametros(sql);
  EXIGIR(posicoes.size() == nomes.size(),
         QStringLiteral("%1 parâmetros, esperados %2").arg(nomes.size()).arg(posicoes.size()));
  qsizetype tamanhoNomes = 0;
  for (qsizetype k = 0; k < nomes.size(); ++k) {
    qsizetype fim = posicoes[k] + 1;
    while (fim < sql.size() && ContinuaNome(sql[fim])) ++fim;
    const QString nome = sql.mid(posicoes[k] + 1, fim - posicoes[k] - 1);
    EXIGIR(nomes[k] == nome.toUpper(), QStringLiteral("parâmetro %1: %2, esperado %3").arg(k).arg(nomes[k], nome));
    tamanhoNomes += nome.size();
  }
  EXIGIR(posicional.size() == sql.size() - tamanhoNomes, "cada :NOME vira exatamente um ?");

  // The "?" of each parameter, replaced by its ":NAME", gives the original
  // back. A parameter's "?" is where the original has its ":", so walking both
  // texts side by side is never ambiguous.
  {
    qsizetype i = 0, j = 0, k = 0;
    while (i < sql.size() && j < posicional.size()) {
      if (sql[i] == posicional[j]) {
        ++i;
        ++j;
        continue;
      }
      EXIGIR(sql[i] == u':' && posicional[j] == u'?' && k < nomes.size(), QStringLiteral("diferença na posição %1").arg(i));
      EXIGIR(i == posicoes[k], QStringLiteral("parâmetro %1 fora do lugar").arg(k));
      ++i;
      qsizetype fim = i;
      while (fim < sql.size() && ContinuaNome(sql[fim])) ++fim;
      EXIGIR(sql.mid(i, fim - i).toUpper() == nomes[k], QStringLiteral("parâmetro %1 com outro nome").arg(k));
      i = fim;
      ++j;
      ++k;
    }
    EXIGIR(i == sql.size() && j == posicional.size() && k == nomes.size(), "texto posicional não refaz o original");
  }

  for (const QString& nome : nomes) {
    EXIGIR(!nome.isEmpty() && IniciaNome(nome[0]) && nome == nome.toUpper(), QStringLiteral("nome inválido: %1").arg(nome));
  }

  // Each name once, in order of first appearance.
  const QStringList distintos = analisado.NomesDistintos();
  QStringList vistos;
  for (const QString& nome : nomes)
    if (!vistos.contains(nome)) vistos.append(nome);
  EXIGIR(distintos == vistos, "nomes distintos fora de ordem ou repetidos");

  // The positional text holds no parameter any more.
  const SqlComParametros denovo(posicional);
  EXIGIR(denovo.NomesPorPosicao().isEmpty(), "texto posicional ainda tem parâmetros");
  EXIGIR(denovo.Posicional() == posicional, "texto posicional mudou ao ser lido de novo");

  // Letter case changes neither the names nor where they stand.
  const SqlComParametros trocado(TrocarCaixaAscii(sql));
  EXIGIR(trocado.NomesPorPosicao() == nomes, "letra maiúscula ou minúscula mudou os nomes");
  EXIGIR(trocado.Posicional() == TrocarCaixaAscii(posicional), "letra maiúscula ou minúscula mudou o texto");
  return 0;
}
