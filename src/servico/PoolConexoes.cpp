#include "servico/PoolConexoes.h"

namespace {
thread_local bool tRecusando = false;
}

PoolConexoes::PoolConexoes(std::size_t trabalhadores) : FTrabalhadores(trabalhadores) {
  FThreads.reserve(trabalhadores);
  for (std::size_t i = 0; i < trabalhadores; ++i) FThreads.emplace_back([this] { Trabalhar(); });
}

PoolConexoes::~PoolConexoes() { shutdown(); }

bool PoolConexoes::Recusando() { return tRecusando; }

void PoolConexoes::enqueue(std::function<void()> tarefa) {
  {
    std::lock_guard<std::mutex> trava(FMutex);
    if (FOcupados + FFila.size() < FTrabalhadores) {
      FFila.push_back(std::move(tarefa));
      FSinal.notify_one();
      return;
    }
  }
  tRecusando = true;
  try {
    tarefa();
  } catch (...) {
  }
  tRecusando = false;
}

void PoolConexoes::shutdown() {
  {
    std::lock_guard<std::mutex> trava(FMutex);
    FEncerrar = true;
  }
  FSinal.notify_all();
  for (std::thread& thread : FThreads)
    if (thread.joinable()) thread.join();
}

void PoolConexoes::Trabalhar() {
  for (;;) {
    std::function<void()> tarefa;
    {
      std::unique_lock<std::mutex> trava(FMutex);
      FSinal.wait(trava, [this] { return FEncerrar || !FFila.empty(); });
      if (FFila.empty()) return;  // stopping, and nothing left to serve
      tarefa = std::move(FFila.front());
      FFila.pop_front();
      ++FOcupados;
    }
    try {
      tarefa();
    } catch (...) {
      // A connection's failure ends that connection, never the worker.
    }
    std::lock_guard<std::mutex> trava(FMutex);
    --FOcupados;
  }
}
