#pragma once

#include <QStringList>

// The primary-key column names of a table, in key order.
using TChvPrimaria = QStringList;
