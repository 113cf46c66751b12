#pragma once

#include <QByteArray>
#include <QList>

#include "CenarioDemo.h"

class Sorteio;

// The integration service's log file beside the demo database: generated
// from the content, after everything else has drawn its numbers.
QList<LinhaLog> GerarLogServico(const ConteudoDemo& conteudo, Sorteio& sorteio);
// In the service's encoding, Windows-1252, with CR LF line ends.
QByteArray TextoLogServico(const QList<LinhaLog>& log);
