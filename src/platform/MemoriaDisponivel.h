#pragma once

#include <QtGlobal>

// How many more bytes this process can take before an allocation fails: the
// least of what the system has free for it (available physical memory and
// free swap, or what is left under the limit of its container) and what is
// left under the process's own address-space and data-size limits.
//
// Threads: any.
namespace MemoriaDisponivel {

qint64 Bytes();

}  // namespace MemoriaDisponivel
