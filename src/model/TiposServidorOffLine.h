#pragma once

#include <QList>
#include <QString>
#include <cstdint>

#include "model/TFieldType.h"

// The enumeration and array types of the synchronisation service. Every
// array is a dynamic, zero-based list; the arrays of object references do
// not own their objects unless the class holding them says so.

class TEstruturaTabela;
class TTabela;
class TMetaDadosTabela;
class TRegistroFila;

enum class TAcao : std::uint8_t {
  TaIncluir,
  TaAlterar,
  TaExcluir,
};
static_assert(sizeof(TAcao) == 1);

using TColecaoCampoTabela = QList<QString>;
using TColecaoTipoCampoTabela = QList<TFieldType>;
using TColecaoEstruturaTabela = QList<TEstruturaTabela*>;
using TColecaoValorCampoTabela = QList<QString>;
using TChavePrimaria = QList<QString>;
using TColecaoTabela = QList<TTabela*>;
// Also the list in which the synchronised-records viewer receives a table's
// key columns; the same type as the QStringList it is declared with there.
using TChvPrimaria = QList<QString>;
using TListaTabelas = QList<QString>;
using TColMetaDadosCampos = QList<QList<QString>>;
using TColMetaDadosTabelas = QList<TMetaDadosTabela*>;
using TColRegistroFila = QList<TRegistroFila*>;
