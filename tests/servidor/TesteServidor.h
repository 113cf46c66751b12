#pragma once

#include <gtest/gtest.h>

#include "BancoTeste.h"
#include "ServidorTeste.h"
#include "platform/Falha.h"

// A fresh fixture database served by the test process's server. The fixture's
// own connection (Executar, Valor) goes over TCP as SYSDBA; the connections
// under test attach with the dedicated user through Configurar.
class TesteServidor : public ::testing::Test {
 protected:
  void SetUp() override {
    // A test that killed the server and failed before starting it again
    // leaves it down; the next one starts it.
    try {
      FServidor.Servir(FBanco);
    } catch (const Falha& f) {
      FAIL() << "servidor de teste indisponível: " << f.what();
    }
  }

  // The database's name for the client: "localhost/PORT:/path".
  QString Caminho() const { return FServidor.CaminhoRemoto(FBanco.Caminho()); }
  void Configurar(ConexaoBanco& conexao, const QString& senha = ServidorTeste::Senha()) const {
    FServidor.Configurar(conexao, FBanco.Caminho(), ServidorTeste::Usuario(), senha);
  }

  // Kills the server; the fixture's own connection lets its dead attachment
  // go, so that Executar and Valor attach afresh once the server is back.
  void MatarServidor() {
    FServidor.Matar();
    FBanco.Conexao().Fechar();
  }

  ServidorTeste& FServidor = ServidorTeste::Instancia();
  BancoTeste FBanco;
};
