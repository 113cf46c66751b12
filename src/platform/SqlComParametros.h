#pragma once

#include <QString>
#include <QStringList>

// A statement text with named parameters ":NAME" turned into the positional
// "?" that the Firebird API knows, remembering which name stands at each
// position. Quoted texts, quoted identifiers and comments are left alone.
// Names are kept in upper case: they match without regard to letter case.
class SqlComParametros {
 public:
  explicit SqlComParametros(const QString& sql);

  const QString& Original() const { return FOriginal; }
  const QString& Posicional() const { return FPosicional; }
  // One entry per "?", in order; a name may appear several times.
  const QStringList& NomesPorPosicao() const { return FNomes; }
  // Each name once, in order of first appearance.
  QStringList NomesDistintos() const;

 private:
  QString FOriginal;
  QString FPosicional;
  QStringList FNomes;
};
