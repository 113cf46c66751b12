#include "platform/TextoOle.h"

#include <new>

namespace TextoOle {

BSTR Criar(const QString& texto) {
  if (texto.isEmpty()) return nullptr;
  BSTR novo = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(texto.utf16()),
                                static_cast<unsigned int>(texto.size()));
  if (!novo) throw std::bad_alloc();
  return novo;
}

BSTR Copiar(BSTR texto) {
  const unsigned int tamanho = SysStringLen(texto);
  if (tamanho == 0) return nullptr;
  BSTR novo = SysAllocStringLen(texto, tamanho);
  if (!novo) throw std::bad_alloc();
  return novo;
}

QString Ler(BSTR texto) {
  if (!texto) return {};
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(texto), SysStringLen(texto));
}

}  // namespace TextoOle
