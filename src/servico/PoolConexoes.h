#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The HTTP server's workers: a fixed number of threads, one connection
// each, and the cap on simultaneous connections. A connection accepted
// while every worker is taken is not queued without end: its job runs at
// once on the accepting thread with Recusando() true, and the server then
// answers 503 and closes without reading it.
//
// Threads: enqueue and shutdown on the server's accepting thread; the jobs
// on the workers (or, refused, on the accepting thread).
class PoolConexoes : public httplib::TaskQueue {
 public:
  explicit PoolConexoes(std::size_t trabalhadores);
  ~PoolConexoes() override;

  void enqueue(std::function<void()> tarefa) override;
  // Lets the workers finish the connections they hold, then joins them.
  void shutdown() override;

  // True inside a job that was refused for lack of a worker.
  static bool Recusando();

 private:
  void Trabalhar();

  const std::size_t FTrabalhadores;
  std::mutex FMutex;
  std::condition_variable FSinal;
  std::deque<std::function<void()>> FFila;
  std::size_t FOcupados = 0;
  bool FEncerrar = false;
  std::vector<std::thread> FThreads;
};
