#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

// A fresh dialect-1 database with the integration tables, one file per test,
// removed afterwards. The first use in a process builds a template through
// the embedded engine; every later one copies it, which takes milliseconds.
class BancoTeste {
 public:
  BancoTeste();
  ~BancoTeste();
  BancoTeste(const BancoTeste&) = delete;
  BancoTeste& operator=(const BancoTeste&) = delete;

  const QString& Caminho() const { return FCaminho; }
  QString Pasta() const { return FPasta.path(); }

  // Points a connection at this database with the test credentials.
  void Configurar(ConexaoBanco& conexao) const;

  // The fixture's own connection, for filling and checking tables.
  ConexaoBanco& Conexao() { return *FConexao; }
  // Runs one statement (or a script of statements ended by ";" at line ends).
  void Executar(const QString& sql);
  // The first column of the first row, as text ("" when there is no row).
  QString Valor(const QString& sql);
  // Detaches the fixture's connection, so that another process may open
  // the file through its own embedded engine.
  void Soltar();

  static QString Usuario() { return QStringLiteral("SYSDBA"); }
  static QString Senha() { return QStringLiteral("masterkey"); }

 private:
  QTemporaryDir FPasta;
  QString FCaminho;
  std::unique_ptr<ConexaoBanco> FConexao;
};
