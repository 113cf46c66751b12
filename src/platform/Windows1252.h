#pragma once

#include <QByteArray>
#include <QString>

// The database and every 8-bit text of the system speak Windows-1252. Texts
// are converted only where they cross the data-access boundary (or another
// 8-bit interface); inside the program they are QString.
namespace Windows1252 {

QString paraUnicode(const char* dados, qsizetype tamanho);
QString paraUnicode(const QByteArray& dados);

// Characters that Windows-1252 cannot hold become '?'.
QByteArray deUnicode(const QString& texto);

}  // namespace Windows1252
