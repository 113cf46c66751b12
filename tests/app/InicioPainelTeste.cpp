#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "BancoTeste.h"
#include "Credencial.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"

namespace {

TEST(InicioPainel, SemConfiguracaoMostraAMensagemEAJanelaComQuinze) {
  QTemporaryDir pasta;
  TFPainel painel(pasta.filePath(QStringLiteral("Caminho.ini")));
  EXPECT_EQ(DialogosGravados::Instancia().Textos(),
            QStringList{QStringLiteral("Caminho do banco de dados não configurado no \"Caminho.Ini\".\r\n"
                                       "Entre em contato com o suporte técnico.")});
  EXPECT_EQ(DialogosGravados::Instancia().Caixas().at(0).Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(painel.findChild<QLineEdit*>(QStringLiteral("edtIntervalo"))->text(), QStringLiteral("15"));
  EXPECT_FALSE(painel.cnVelmora().Aberta());
  EXPECT_EQ(painel.cnVelmora().Param(QStringLiteral("Database")), QStringLiteral("bancodados.fb"));
}

TEST(InicioPainel, IniNomeadoQueNaoPodeSerLidoDizQualArquivo) {
  QTemporaryDir pasta;
  for (const QString& arquivo : {pasta.filePath(QStringLiteral("Caminho.ini")), pasta.path()}) {
    DialogosGravados::Instancia().Limpar();
    TFPainel painel(arquivo, nullptr, true);
    const QString esperado = arquivo == pasta.path() ? QStringLiteral("Arquivo de configuração não pode ser lido: ")
                                                     : QStringLiteral("Arquivo de configuração não encontrado: ");
    EXPECT_EQ(DialogosGravados::Instancia().Textos(), QStringList{esperado + arquivo});
    EXPECT_FALSE(painel.cnVelmora().Aberta());
  }
}

TEST(InicioPainel, ComConfiguracaoConectaSemMensagem) {
  BancoTeste banco;
  banco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', 30)"));
  const QString ini = banco.Pasta() + QStringLiteral("/Caminho.ini");
  QFile arquivo(ini);
  ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
  arquivo.write("[DatabaseEstoque]\r\ncaminho = " + banco.Caminho().toUtf8() + "\r\nUSUARIO=" +
                CodificarCredencial("SYSDBA").toLatin1() + "\r\nSENHA=" + CodificarCredencial("masterkey").toLatin1() +
                "\r\n");
  arquivo.close();
  TFPainel painel(ini);
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty()) << DialogosGravados::Instancia().Textos().join(u'\n').toStdString();
  EXPECT_TRUE(painel.cnVelmora().Aberta());
  EXPECT_EQ(painel.findChild<QLineEdit*>(QStringLiteral("edtIntervalo"))->text(), QStringLiteral("30"));
}

}  // namespace
