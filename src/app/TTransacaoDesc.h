#pragma once

#include <QtGlobal>

// The descriptor the three guarded transaction operations share.
enum class TNivelIsolamento : quint8 { ReadCommitted = 0, RepeatableRead = 1, DirtyRead = 2 };

struct TTransacaoDesc {
  quint32 TransactionID = 0;
  quint32 GlobalID = 0;
  TNivelIsolamento IsolationLevel = TNivelIsolamento::ReadCommitted;
  quint32 CustomIsolation = 0;
};
