#pragma once

#include <QString>

class ConexaoBanco;

// Creates database files through the client library: the fixtures of the
// tests, the demo and the benchmark databases use it. The panel itself never
// creates anything.
namespace CriacaoBanco {

// A new, empty dialect-1 database with default character set WIN1252.
// Fails (FalhaBanco) if the file exists.
void CriarBanco(const QString& caminho, const QString& usuario = QStringLiteral("SYSDBA"),
                const QString& senha = QStringLiteral("masterkey"));

// Runs a script of statements, each ended by ";" at the end of a line;
// lines starting with "--" are skipped.
void ExecutarScript(ConexaoBanco& conexao, const QString& script);

}  // namespace CriacaoBanco
