#pragma once

#include <QByteArray>
#include <QString>

// Writes a "Caminho.ini" the way the ERP's own tool leaves it beside the
// executable: section "DATABASEESTOQUE", the database name as it is, the user
// and the password encoded; Windows-1252 text with CR LF line ends.
//
// For a server test: Escrever(pasta, servidor.CaminhoRemoto(banco.Caminho()),
// ServidorTeste::Usuario(), ServidorTeste::Senha()).
namespace ConfiguracaoTeste {

// The whole file.
QByteArray Conteudo(const QString& banco, const QString& usuario, const QString& senha);

// Writes <pasta>/Caminho.ini (replacing it) and gives its path.
QString Escrever(const QString& pasta, const QString& banco, const QString& usuario, const QString& senha);

}  // namespace ConfiguracaoTeste
