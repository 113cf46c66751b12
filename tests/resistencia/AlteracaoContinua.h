#pragma once

#include <QString>
#include <atomic>
#include <thread>

// Another attachment that keeps changing every integration table the panel
// reads, one short transaction per round, until stopped: machines and
// branches renamed and re-dated, change-log entries added and removed,
// deliveries flipped, the queue cycling through its states, errors
// acknowledged, added and deleted (with their texts).
//
// Threads: construct, Parar and read the results on one thread; the
// attachment lives on the object's own thread.
class AlteracaoContinua {
 public:
  AlteracaoContinua(const QString& caminhoLocal);
  ~AlteracaoContinua();
  AlteracaoContinua(const AlteracaoContinua&) = delete;
  AlteracaoContinua& operator=(const AlteracaoContinua&) = delete;

  void Parar();
  long Rodadas() const { return FRodadas.load(); }
  // After Parar: what failed, if anything.
  const QString& Erro() const { return FErro; }

 private:
  void Executar(const QString& caminhoLocal);

  std::atomic<bool> FParar{false};
  std::atomic<long> FRodadas{0};
  QString FErro;
  std::thread FLinha;
};
