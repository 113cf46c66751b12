#pragma once

#include "platform/Falha.h"

#include <QList>

// A failure reported by the Firebird client: the message is the client's own
// formatted text, every line of it; the status codes tell what went wrong.
class FalhaBanco : public Falha {
 public:
  FalhaBanco(QString mensagem, QList<qint64> codigos, bool conexaoPerdida)
      : Falha(std::move(mensagem)), FCodigos(std::move(codigos)), FConexaoPerdida(conexaoPerdida) {}

  bool VeioDoBanco() const noexcept override { return true; }
  const QList<qint64>& Codigos() const noexcept { return FCodigos; }
  // The attachment is gone (server down, network broken, database shut down).
  bool ConexaoPerdida() const noexcept { return FConexaoPerdida; }

 private:
  QList<qint64> FCodigos;
  bool FConexaoPerdida;
};
