#pragma once

#include <QString>
#include <future>
#include <thread>

// Another attachment that holds an uncommitted change of some rows while the
// test's own connection tries to change them. It ends its transaction (rolls
// back or commits) only once it sees a statement of another attachment
// running on the table: that is how a test proves that its statement waited
// on the lock, without measuring time. It runs on a thread of its own, so the
// test's statement may block the main thread meanwhile.
//
// Threads: construct, Terminar and read the results on one thread; the
// attachment lives on the object's own thread.
class BloqueioConcorrente {
 public:
  enum class Desfecho { Desfazer, Confirmar };

  // Returns once the change is made and held; fails (Falha) if it could not
  // be made or changed no row.
  BloqueioConcorrente(const QString& caminhoLocal, const QString& alteracao, const QString& tabela,
                      Desfecho desfecho);
  ~BloqueioConcorrente();
  BloqueioConcorrente(const BloqueioConcorrente&) = delete;
  BloqueioConcorrente& operator=(const BloqueioConcorrente&) = delete;

  // Waits for the transaction to end.
  void Terminar();
  // After Terminar: whether a waiting statement was seen before the end (the
  // transaction ends anyway after 60 s without one, so no test hangs).
  bool EsperaVista() const { return FEsperaVista; }
  // After Terminar: what failed on the other attachment, if anything.
  const QString& Erro() const { return FErro; }

 private:
  void Executar(const QString& caminhoLocal, const QString& alteracao, const QString& tabela, Desfecho desfecho);

  std::promise<void> FSegurando;
  std::thread FLinha;
  bool FEsperaVista = false;
  QString FErro;
};
