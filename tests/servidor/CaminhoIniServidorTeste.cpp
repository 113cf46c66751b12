#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ConfiguracaoTeste.h"
#include "TesteServidor.h"
#include "app/ConfiguracaoBanco.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

namespace {

QByteArray Ler(const QString& caminho) {
  QFile arquivo(caminho);
  return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

TEST_F(TesteServidor, CaminhoIniComCredenciaisCodificadasAnexaPorTcpESenhaErradaDaAMensagemDeConexao) {
  QTemporaryDir pasta;
  const QString ini = ConfiguracaoTeste::Escrever(pasta.path(), Caminho(), ServidorTeste::Usuario(),
                                                  ServidorTeste::Senha());
  const QByteArray conteudo = Ler(ini);
  EXPECT_TRUE(conteudo.contains(Caminho().toLatin1()));
  EXPECT_FALSE(conteudo.contains(ServidorTeste::Usuario().toLatin1()));
  EXPECT_FALSE(conteudo.contains(ServidorTeste::Senha().toLatin1()));

  ConexaoBanco conexao;
  ConfiguracaoBanco::ConectarBanco(conexao, ini);
  ConsultaSql quem(&conexao);
  quem.SetSql(QStringLiteral("SELECT CURRENT_USER, MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                             "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
  quem.Abrir();
  EXPECT_EQ(quem.Valor(0, 0).AsString().trimmed(), ServidorTeste::Usuario());
  EXPECT_EQ(quem.Valor(0, 1).AsString().trimmed(), QStringLiteral("TCPv4"));

  // The connection message carries the database name and the server's text,
  // never the user or the password.
  ConfiguracaoTeste::Escrever(pasta.path(), Caminho(), ServidorTeste::Usuario(), QStringLiteral("Errad@77"));
  ConexaoBanco recusada;
  try {
    ConfiguracaoBanco::ConectarBanco(recusada, ini);
    FAIL() << "anexou com a senha errada";
  } catch (const Falha& f) {
    EXPECT_EQ(f.Mensagem(),
              QStringLiteral("Falha ao conectar banco de dados ") + Caminho() +
                  QStringLiteral(". Motivo: Your user name and password are not defined. Ask your database "
                                 "administrator to set up a Firebird login.\r\n"
                                 "Entre em contato com o suporte técnico."));
    EXPECT_TRUE(f.VeioDoBanco());
    EXPECT_FALSE(f.Mensagem().contains(QStringLiteral("Errad@77")));
    EXPECT_FALSE(f.Mensagem().contains(ServidorTeste::Usuario(), Qt::CaseInsensitive));
  }
  EXPECT_FALSE(recusada.Aberta());
}

}  // namespace
