#include "usage/TThreadTrabalho.h"

#include <atomic>
#include <thread>

namespace {
std::atomic<int> gExistentes{0};
}  // namespace

TThreadTrabalho::TThreadTrabalho() { gExistentes.fetch_add(1); }

TThreadTrabalho::~TThreadTrabalho() { gExistentes.fetch_sub(1); }

int TThreadTrabalho::Existentes() { return gExistentes.load(); }

void TThreadTrabalho::Start() {
  // Detached at once: no joinable thread object is left anywhere to stop the
  // process from ending while the body runs.
  std::thread(&TThreadTrabalho::Rodar, this).detach();
}

void TThreadTrabalho::Rodar(TThreadTrabalho* trabalho) noexcept {
  try {
    trabalho->Execute();
  } catch (...) {
  }
  delete trabalho;
}
