#pragma once

class ConexaoBanco;

// A read-only snapshot of the database for as long as the object lives:
// every statement of the connection meanwhile reads the data as committed
// when it was built, so numbers read by several statements fit together
// whatever other programs commit in between. Ended on every path.
//
// Threads: the connection's thread.
class LeituraInstantanea {
 public:
  explicit LeituraInstantanea(ConexaoBanco& conexao);
  ~LeituraInstantanea();
  LeituraInstantanea(const LeituraInstantanea&) = delete;
  LeituraInstantanea& operator=(const LeituraInstantanea&) = delete;

 private:
  ConexaoBanco& FConexao;
};
