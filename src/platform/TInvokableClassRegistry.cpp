#include "platform/TInvokableClassRegistry.h"

#include <QMutexLocker>

#include "platform/Falha.h"

TInvokableClassRegistry& TInvokableClassRegistry::Instancia() {
  static TInvokableClassRegistry registro;
  return registro;
}

bool TInvokableClassRegistry::RegisterInterface(TInterfaceInvocavel declaracao, const QString& nameSpace) {
  if (declaracao.Identificador.isNull() || declaracao.Nome.isEmpty())
    throw Falha(QStringLiteral("Interface sem nome ou identificador não pode ser registrada."));
  if (!nameSpace.isEmpty()) declaracao.Namespace = nameSpace;
  if (declaracao.Namespace.isEmpty())
    declaracao.Namespace = QStringLiteral("urn:") + declaracao.Unidade + QLatin1Char('-') + declaracao.Nome;

  QMutexLocker trava(&FTrava);
  for (const auto& registrada : FInterfaces)
    if (registrada.Identificador == declaracao.Identificador) return false;
  FInterfaces.append(std::move(declaracao));
  return true;
}

std::optional<TInterfaceInvocavel> TInvokableClassRegistry::PorIdentificador(const QUuid& identificador) const {
  QMutexLocker trava(&FTrava);
  for (const auto& registrada : FInterfaces)
    if (registrada.Identificador == identificador) return registrada;
  return std::nullopt;
}

std::optional<TInterfaceInvocavel> TInvokableClassRegistry::PorNome(const QString& nome) const {
  QMutexLocker trava(&FTrava);
  // Interface names are identifiers of a case-blind language.
  for (const auto& registrada : FInterfaces)
    if (registrada.Nome.compare(nome, Qt::CaseInsensitive) == 0) return registrada;
  return std::nullopt;
}

QList<TInterfaceInvocavel> TInvokableClassRegistry::Interfaces() const {
  QMutexLocker trava(&FTrava);
  return FInterfaces;
}
