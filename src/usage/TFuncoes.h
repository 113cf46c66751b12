#pragma once

#include <QString>

// Stateless helpers of the usage report.
//
// Threads: any thread.
class TFuncoes {
 public:
  // The computer's name, at most 15 characters; empty when it cannot be read.
  static QString getNomeComputador();

  // A tax number laid out as a CNPJ (12 characters or more,
  // "00.000.000/0000-00") or a CPF ("000.000.000-00"). Characters are placed
  // in order without checking that they are digits; missing ones become
  // spaces, the separators still written; extra ones are appended.
  static QString FormatarCpfCnpj(const QString& numero);
};
