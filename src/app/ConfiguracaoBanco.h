#pragma once

#include <QString>

class ConexaoBanco;

// Where the connection's settings come from: section "DATABASEESTOQUE" of
// "Caminho.ini", the user and the password decoded. The window and the
// command line connect through the same operation.
namespace ConfiguracaoBanco {

// "Caminho.ini" in the folder of the running executable, not the current one.
QString ArquivoPadrao();

// Reads the file, sets "Database", "User_Name" and "Password" and opens the
// connection. Fails with the configuration message (nothing changed) or the
// connection message (the parameters keep the configured values).
void ConectarBanco(ConexaoBanco& conexao, const QString& arquivoIni);

// A file the operator named (--ini) that does not exist or cannot be read
// fails with a message naming it: a typing error in the path must not read
// as a file without the database's name.
void VerificarArquivoNomeado(const QString& arquivoIni);

// Whether the refreshes count with the fast-count statements: "--fast-counts"
// on the command line (pedidaNaLinha) turns them on whatever the file says;
// otherwise "CONTAGEM=RAPIDA" in section "PAINEL" of the file does (letter
// case aside). Without the section or the key, or with any other value, the
// per-machine statements stay.
bool ContagemRapida(const QString& arquivoIni, bool pedidaNaLinha);

}  // namespace ConfiguracaoBanco
