#pragma once

#include <QByteArray>
#include <QString>

// Encodes a user name or password the way "Caminho.ini" stores it: the exact
// inverse of the program's decoding, written independently of it so that the
// tests check the decoder against a second algorithm. The program itself never
// encodes; only the tests and the codificar-credencial tool do.
//
// Bytes are Windows-1252. A zero byte is encoded like any other, but the
// decoder cuts the text before it.
QString CodificarCredencial(const QByteArray& plano);
