#pragma once

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QString>

// A broken property ends the run at once with the reason: libFuzzer then keeps
// the input as a crash, and the corpus replay fails its test.
#define EXIGIR(condicao, motivo)                                                       \
  do {                                                                                 \
    if (!(condicao)) {                                                                 \
      std::fprintf(stderr, "%s:%d: propriedade violada: %s\n  %s\n", __FILE__, __LINE__, \
                   #condicao, QString(motivo).toUtf8().constData());                  \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)

// Each target defines the entry point that libFuzzer (or the replay program)
// calls once per input.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho);
