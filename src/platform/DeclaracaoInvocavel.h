#pragma once

#include <QList>
#include <QString>
#include <QUuid>

// The description of an invokable interface as the registry records it:
// plain values, copied out of the registry on every lookup.

enum class TModoParametro {
  Valor,       // input, passed by value
  Constante,   // input, passed as a constant
  Referencia,  // input and output
  Saida,       // output only
};

struct TParametroInvocavel {
  QString Nome;  // becomes the element name on a remote call
  QString Tipo;
  TModoParametro Modo = TModoParametro::Valor;

  bool operator==(const TParametroInvocavel&) const = default;
};

struct TOperacaoInvocavel {
  QString Nome;
  QList<TParametroInvocavel> Parametros;  // in declaration order
  QString TipoResultado;                  // empty: the operation returns nothing

  bool operator==(const TOperacaoInvocavel&) const = default;
};

struct TInterfaceInvocavel {
  QString Nome;
  QString Unidade;  // the unit that declares it
  QUuid Identificador;
  QString Namespace;                     // filled in by the registry when empty
  QList<TOperacaoInvocavel> Operacoes;   // in declaration order

  bool operator==(const TInterfaceInvocavel&) const = default;
};
