#pragma once

#include <QString>
#include <exception>
#include <string>

// The one failure type of the program: it carries the message, in Portuguese,
// that the operator sees. Operations that expect a failure catch it and build
// their own message from Mensagem(); the rest reaches TratarExcecao.
class Falha : public std::exception {
 public:
  explicit Falha(QString mensagem, bool veioDoBanco = false)
      : FMensagem(std::move(mensagem)), FUtf8(FMensagem.toStdString()), FVeioDoBanco(veioDoBanco) {}

  const QString& Mensagem() const noexcept { return FMensagem; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

  // True for failures reported by the database client, also when an
  // operation wrapped the client's text in a message of its own (the
  // connection message keeps telling that the database refused).
  virtual bool VeioDoBanco() const noexcept { return FVeioDoBanco; }

 private:
  QString FMensagem;
  std::string FUtf8;
  bool FVeioDoBanco;
};
