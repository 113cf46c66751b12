#pragma once

#include <QString>

// A branch of the company as the session knows it.
struct TFilial {
  QString Nome;
  QString CNPJ;  // CNPJ or CPF, digits without separators
};
