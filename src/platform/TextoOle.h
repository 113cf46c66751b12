#pragma once

#include <QString>

#include "platform/OleString.h"

// Conversions between the program's texts and OLE strings.
//
// Threads: any thread.
namespace TextoOle {

// A new OLE string holding the text; null for the empty text, which is how
// an empty text travels in an OLE string field.
BSTR Criar(const QString& texto);
// A new OLE string with the same units; null for null or empty.
BSTR Copiar(BSTR texto);
QString Ler(BSTR texto);

}  // namespace TextoOle
