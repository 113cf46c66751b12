#pragma once

#include <QList>

// splitmix64: the same numbers on every platform and library version, which
// the standard distributions do not promise.
class Sorteio {
 public:
  explicit Sorteio(quint64 semente) : FEstado(semente) {}
  quint64 Proximo() {
    quint64 z = (FEstado += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Entre(int menor, int maior) { return menor + int(Proximo() % quint64(maior - menor + 1)); }
  bool Chance(int porcento) { return Entre(1, 100) <= porcento; }
  template <typename T>
  const T& Um(const QList<T>& lista) { return lista[Entre(0, int(lista.size()) - 1)]; }

 private:
  quint64 FEstado;
};
