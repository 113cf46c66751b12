#include "platform/SqlComParametros.h"

namespace {

bool iniciaNome(QChar c) { return c.isLetter() || c == u'_'; }
bool continuaNome(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

}  // namespace

SqlComParametros::SqlComParametros(const QString& sql) : FOriginal(sql) {
  const qsizetype n = sql.size();
  FPosicional.reserve(n);
  qsizetype i = 0;
  while (i < n) {
    const QChar c = sql.at(i);
    if (c == u'\'' || c == u'"') {
      // Copy the quoted run whole; a doubled quote stays inside it.
      const qsizetype inicio = i++;
      while (i < n) {
        if (sql.at(i) == c) {
          if (i + 1 < n && sql.at(i + 1) == c) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      FPosicional += QStringView(sql).mid(inicio, i - inicio);
    } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
      const qsizetype fim = sql.indexOf(u'\n', i);
      const qsizetype ate = fim < 0 ? n : fim;
      FPosicional += QStringView(sql).mid(i, ate - i);
      i = ate;
    } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
      const qsizetype fim = sql.indexOf(QStringLiteral("*/"), i + 2);
      const qsizetype ate = fim < 0 ? n : fim + 2;
      FPosicional += QStringView(sql).mid(i, ate - i);
      i = ate;
    } else if (c == u':' && i + 1 < n && iniciaNome(sql.at(i + 1))) {
      qsizetype fim = i + 1;
      while (fim < n && continuaNome(sql.at(fim))) ++fim;
      FNomes.append(sql.mid(i + 1, fim - i - 1).toUpper());
      FPosicional += u'?';
      i = fim;
    } else {
      FPosicional += c;
      ++i;
    }
  }
}

QStringList SqlComParametros::NomesDistintos() const {
  QStringList nomes;
  for (const QString& nome : FNomes)
    if (!nomes.contains(nome)) nomes.append(nome);
  return nomes;
}
