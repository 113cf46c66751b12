#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BancoTeste.h"
#include "Credencial.h"
#include "app/ArquivoIni.h"
#include "app/ConfiguracaoBanco.h"
#include "platform/Falha.h"

namespace {

const QString kMensagemConfiguracao = QStringLiteral(
    "Caminho do banco de dados não configurado no \"Caminho.Ini\".\r\nEntre em contato com o suporte técnico.");

void Gravar(const QString& caminho, const QByteArray& conteudo) {
  QFile arquivo(caminho);
  ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
  arquivo.write(conteudo);
}

QString Conectar(ConexaoBanco& conexao, const QString& ini) {
  try {
    ConfiguracaoBanco::ConectarBanco(conexao, ini);
  } catch (const Falha& falha) {
    return falha.Mensagem();
  }
  return QString();
}

QByteArray Ini(const QString& caminho, const QByteArray& usuario = "SYSDBA", const QByteArray& senha = "masterkey") {
  return "[DATABASEESTOQUE]\r\nCAMINHO=" + caminho.toUtf8() + "\r\nUSUARIO=" +
         CodificarCredencial(usuario).toLatin1() + "\r\nSENHA=" + CodificarCredencial(senha).toLatin1() + "\r\n";
}

TEST(ArquivoIni, RegrasDeLeitura) {
  QTemporaryDir pasta;
  const QString caminho = pasta.filePath(QStringLiteral("x.ini"));
  Gravar(caminho,
         "; comentario\n  [databaseestoque]  \r\n  caminho =  /dados/a b.fdb  \rUSUARIO=x=y\n\nCAMINHO=segundo\n"
         "[Outra]\nCAMINHO=outra\n;CHAVE=nao\nsem igual\n");
  const ArquivoIni ini(caminho);
  EXPECT_EQ(ini.Ler(QStringLiteral("DATABASEESTOQUE"), QStringLiteral("CAMINHO")), QStringLiteral("/dados/a b.fdb"));
  EXPECT_EQ(ini.Ler(QStringLiteral("DatabaseEstoque"), QStringLiteral("usuario")), QStringLiteral("x=y"));
  EXPECT_EQ(ini.Ler(QStringLiteral("OUTRA"), QStringLiteral("CAMINHO")), QStringLiteral("outra"));
  EXPECT_EQ(ini.Ler(QStringLiteral("OUTRA"), QStringLiteral(";CHAVE")), QString());
  EXPECT_EQ(ini.Ler(QStringLiteral("NENHUMA"), QStringLiteral("CAMINHO")), QString());
  EXPECT_EQ(ArquivoIni(pasta.filePath(QStringLiteral("nao-existe.ini"))).Ler(QStringLiteral("A"), QStringLiteral("B")),
            QString());
}

TEST(ConectarBanco, ConfiguracaoAusenteOuInvalidaNaoMudaNada) {
  QTemporaryDir pasta;
  const QString ini = pasta.filePath(QStringLiteral("Caminho.ini"));
  QByteArray lixo(300000, '\0');
  for (qsizetype i = 0; i < lixo.size(); ++i) lixo[i] = char((i * 7919) % 256);
  const QList<QByteArray> conteudos = {
      QByteArray(),                                              // empty
      "[DATABASEESTOQUE]\nCAMINHO=\nUSUARIO=ABCD\n",             // key empty
      "[OUTRA]\nCAMINHO=/x.fdb\n",                               // without the section
      lixo,                                                      // binary garbage
      "[DATABASEESTOQUE]\nUSUARIO=" + QByteArray(3 << 20, 'A'),  // a line of megabytes
  };
  for (const QByteArray& conteudo : conteudos) {
    Gravar(ini, conteudo);
    ConexaoBanco conexao;
    EXPECT_EQ(Conectar(conexao, ini), kMensagemConfiguracao);
    EXPECT_EQ(conexao.Param(QStringLiteral("Database")), QStringLiteral("bancodados.fb"));
    EXPECT_EQ(conexao.Param(QStringLiteral("User_Name")), QStringLiteral("sysdba"));
    EXPECT_EQ(conexao.Param(QStringLiteral("Password")), QStringLiteral("quartzfen"));
  }
  ConexaoBanco conexao;
  EXPECT_EQ(Conectar(conexao, pasta.filePath(QStringLiteral("nao-existe.ini"))), kMensagemConfiguracao);
}

TEST(ConectarBanco, AbreComOsValoresDecodificados) {
  BancoTeste banco;
  const QString ini = banco.Pasta() + QStringLiteral("/Caminho.ini");
  Gravar(ini, Ini(banco.Caminho()));
  ConexaoBanco conexao;
  EXPECT_EQ(Conectar(conexao, ini), QString());
  EXPECT_TRUE(conexao.Aberta());
  EXPECT_EQ(conexao.Param(QStringLiteral("User_Name")), QStringLiteral("SYSDBA"));
  EXPECT_EQ(conexao.Param(QStringLiteral("Password")), QStringLiteral("masterkey"));
  EXPECT_EQ(conexao.Param(QStringLiteral("Database")), banco.Caminho());
}

TEST(ConectarBanco, FalhaAoAbrirDaAMensagemComOTextoDoCliente) {
  QTemporaryDir pasta;
  const QString ini = pasta.filePath(QStringLiteral("Caminho.ini"));
  const QString inexistente = pasta.filePath(QStringLiteral("100% perdido.fdb"));
  Gravar(ini, Ini(inexistente, "ana", "s3nh@"));
  ConexaoBanco conexao;
  const QString mensagem = Conectar(conexao, ini);
  const QString prefixo = QStringLiteral("Falha ao conectar banco de dados ") + inexistente + QStringLiteral(". Motivo: ");
  ASSERT_TRUE(mensagem.startsWith(prefixo)) << mensagem.toStdString();
  EXPECT_TRUE(mensagem.endsWith(QStringLiteral("\r\nEntre em contato com o suporte técnico.")));
  const QString motivo = mensagem.mid(prefixo.size()).chopped(41);
  EXPECT_TRUE(motivo.contains(QStringLiteral("I/O error"))) << motivo.toStdString();
  EXPECT_FALSE(conexao.Aberta());
  EXPECT_EQ(conexao.Param(QStringLiteral("User_Name")), QStringLiteral("ana"));
  EXPECT_EQ(conexao.Param(QStringLiteral("Password")), QStringLiteral("s3nh@"));
}

TEST(ConectarBanco, ArquivoFicaAoLadoDoExecutavel) {
  const QString antes = QDir::currentPath();
  QTemporaryDir outra;
  QDir::setCurrent(outra.path());
  EXPECT_EQ(ConfiguracaoBanco::ArquivoPadrao(),
            QCoreApplication::applicationDirPath() + QStringLiteral("/Caminho.ini"));
  QDir::setCurrent(antes);
}

}  // namespace
