#pragma once

#include <QString>
#include <exception>
#include <string>

// The one failure type of the program: it carries the message, in Portuguese,
// that the operator sees. Operations that expect a failure catch it and build
// their own message from Mensagem(); the rest reaches TratarExcecao.
class Falha : public std::exception {
 public:
  explicit Falha(QString mensagem) : FMensagem(std::move(mensagem)), FUtf8(FMensagem.toStdString()) {}

  const QString& Mensagem() const noexcept { return FMensagem; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

  // True for failures reported by the database client.
  virtual bool VeioDoBanco() const noexcept { return false; }

 private:
  QString FMensagem;
  std::string FUtf8;
};
