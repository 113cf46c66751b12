#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "panel/LinhaStatus.h"

// The verdict of a monitoring check (Nagios plugin rules) over the status
// rows: CRITICAL (2) when a machine has unacknowledged errors, WARNING (1)
// when a machine's last receipt or last send is absent or older than the
// given age, OK (0) otherwise, UNKNOWN (3) when the rows could not be read
// or there are none.
// One line of text, performance data after "|".
class VerificacaoStatus {
 public:
  enum Codigo { Ok = 0, Alerta = 1, Critico = 2, Desconhecido = 3 };

  struct Resultado {
    Codigo CodigoSaida;
    QString Linha;
  };

  static Resultado Verificar(const std::vector<LinhaStatus>& linhas, qint64 idadeMaximaMinutos,
                             const QDateTime& agora);
  // A machine whose last receipt or last send is absent or older than the
  // given age (the WARNING above).
  static bool Atrasada(const LinhaStatus& linha, qint64 idadeMaximaMinutos, const QDateTime& agora);
  // The rows could not be read: the first line of the failure's message.
  static Resultado Falhou(const QString& mensagem);

  static constexpr qint64 kIdadePadrao = 60;
};
