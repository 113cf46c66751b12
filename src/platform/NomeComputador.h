#pragma once

#include <QString>

// The computer's name as other machines of the network know it, at most 15
// characters (the NetBIOS limit); empty when the platform cannot tell.
//
// Threads: any thread.
namespace NomeComputador {

QString Obter();

}  // namespace NomeComputador
