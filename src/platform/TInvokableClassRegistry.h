#pragma once

#include <QList>
#include <QMutex>
#include <QString>
#include <QUuid>
#include <optional>

#include "platform/DeclaracaoInvocavel.h"

// The process's registry of invokable interface declarations. Units record
// their interfaces at start-up; lookups return copies, so any thread may
// register or look up at any time.
class TInvokableClassRegistry {
 public:
  TInvokableClassRegistry() = default;
  TInvokableClassRegistry(const TInvokableClassRegistry&) = delete;
  TInvokableClassRegistry& operator=(const TInvokableClassRegistry&) = delete;

  // The one registry of the process, created on first use.
  static TInvokableClassRegistry& Instancia();

  // Records the declaration. Without a namespace, neither given nor in the
  // declaration, it becomes "urn:<unit>-<interface>". An identifier already
  // recorded is left as it is and the call returns false, so a unit that
  // initialises twice does not register twice. A null identifier or an empty
  // name fails with Falha.
  bool RegisterInterface(TInterfaceInvocavel declaracao, const QString& nameSpace = QString());

  std::optional<TInterfaceInvocavel> PorIdentificador(const QUuid& identificador) const;
  std::optional<TInterfaceInvocavel> PorNome(const QString& nome) const;
  // Every declaration, in the order of registration.
  QList<TInterfaceInvocavel> Interfaces() const;

 private:
  mutable QMutex FTrava;
  QList<TInterfaceInvocavel> FInterfaces;
};
