#pragma once

#include <QByteArray>
#include <QString>

// The user name and the password in "Caminho.ini" are stored encoded by a
// tool of the ERP; the panel only decodes them. Pure functions of their input
// and one fixed key: no state survives a call and decoding never fails (a
// wrongly encoded value just gives another text, which the database refuses).
namespace DecodificacaoCredencial {

// Position of c in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"; anything else is 0.
int AlphabetIndex(char c);
// One plain byte from a pair of encoded characters; fewer than two gives 0.
quint8 DecodePair(const QByteArray& par, quint16 estado);
// The running state after pair number n (counted from 1).
quint16 AdvanceState(quint16 estado, int n);
// The plain bytes (Windows-1252), cut before the first zero byte.
QByteArray DecodeConfigText(const QByteArray& codificado);
// The same, from and to the program's own texts.
QString DecodeConfigText(const QString& codificado);

}  // namespace DecodificacaoCredencial
