#pragma once

// The OLE string allocator the REST transport library and this program share.
// An OLE string is a pointer to UTF-16LE code units, NUL-terminated, with its
// length in bytes in the 4 bytes before the first unit. On Windows these are
// oleaut32's own functions; elsewhere this program supplies them with the same
// layout and C linkage, so a transport library loaded into the process
// allocates and frees through the very same functions.
//
// Threads: any thread.
#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#else
#include <cstdint>

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

extern "C" {
// A new string of `tamanho` units copied from `origem` (zeros when `origem`
// is null). Null when memory runs out.
BSTR SysAllocStringLen(const OLECHAR* origem, unsigned int tamanho);
// Replaces *texto by a new string of `tamanho` units of `origem` (which may
// point into the old one) and frees the old one. Returns 0 when memory runs
// out, leaving *texto untouched.
int SysReAllocStringLen(BSTR* texto, const OLECHAR* origem, unsigned int tamanho);
// Frees a string; null is allowed.
void SysFreeString(BSTR texto);
// Length in units and in bytes, read from the prefix; 0 for null.
unsigned int SysStringLen(BSTR texto);
unsigned int SysStringByteLen(BSTR texto);
}
#endif

namespace OleString {

// Strings allocated and not yet freed, in the whole process. Lets the tests
// see that every string handed over is freed exactly once. Always 0 on
// Windows, where the system allocator does not tell.
long Vivas();

}  // namespace OleString
