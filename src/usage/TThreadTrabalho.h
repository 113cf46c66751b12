#pragma once

// A worker thread that is created not running, runs its body once started
// and then frees itself. It is never joined, so nothing waits for it, and
// the process may end while it runs: a body must not rely on objects that
// are destroyed at exit.
//
// Threads: construct and Start on any one thread; after a successful Start
// the object belongs to its own thread and the starter must not touch it.
class TThreadTrabalho {
 public:
  virtual ~TThreadTrabalho();
  TThreadTrabalho(const TThreadTrabalho&) = delete;
  TThreadTrabalho& operator=(const TThreadTrabalho&) = delete;

  // Runs Execute on a new thread. Raises when the thread cannot be created;
  // the object then still belongs to the caller and never runs.
  void Start();

  // Objects of this family in existence (started or not): lets a test see
  // that every report thread freed itself.
  static int Existentes();

 protected:
  TThreadTrabalho();
  // The body. Whatever it raises is dropped: no failure leaves the thread.
  virtual void Execute() = 0;

 private:
  static void Rodar(TThreadTrabalho* trabalho) noexcept;
};
