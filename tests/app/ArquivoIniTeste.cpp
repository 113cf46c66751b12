#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "app/ArquivoIni.h"

namespace {

class LeituraArquivoIni : public ::testing::Test {
 protected:
  QString Gravar(const QByteArray& conteudo) {
    const QString caminho = FPasta.filePath(QStringLiteral("Caminho.ini"));
    QFile arquivo(caminho);
    EXPECT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    arquivo.write(conteudo);
    return caminho;
  }

  static QString Ler(const QString& caminho, const char* secao, const char* chave) {
    return ArquivoIni(caminho).Ler(QString::fromLatin1(secao), QString::fromLatin1(chave));
  }

  QTemporaryDir FPasta;
};

TEST_F(LeituraArquivoIni, FimDeLinhaDeCadaSistema) {
  for (const QByteArray& fim : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
    const QString caminho = Gravar("[DATABASEESTOQUE]" + fim + "CAMINHO=srv:/dados/a.fdb" + fim + "USUARIO=ABC" + fim +
                                   fim + "SENHA=D E" + fim);
    EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "CAMINHO"), QStringLiteral("srv:/dados/a.fdb")) << fim.toHex().data();
    EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "USUARIO"), QStringLiteral("ABC")) << fim.toHex().data();
    EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "SENHA"), QStringLiteral("D E")) << fim.toHex().data();
  }
  // Mixed endings, and the last line without any.
  const QString caminho = Gravar("[s]\rA=1\r\nB=2\n\r\nC=3");
  EXPECT_EQ(Ler(caminho, "S", "A"), QStringLiteral("1"));
  EXPECT_EQ(Ler(caminho, "S", "B"), QStringLiteral("2"));
  EXPECT_EQ(Ler(caminho, "S", "C"), QStringLiteral("3"));
}

TEST_F(LeituraArquivoIni, SecoesChavesEValores) {
  const QString caminho = Gravar(
      "CAMINHO=antes de qualquer secao\n"
      "; [DATABASEESTOQUE]\n"
      "\t [ databaseEstoque ]  \n"
      "  caminho \t=  /dados/a b.fdb  \n"
      ";SENHA=comentada\n"
      "Usuario=x=y = z\n"
      "linha sem igual\n"
      "CAMINHO=segunda\n"
      "VAZIA=\n"
      "NOME=Jo\xe3o \x80\n"
      "[OUTRA]\n"
      "CAMINHO=outra\n");
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "CAMINHO"), QStringLiteral("/dados/a b.fdb"));  // the first wins
  EXPECT_EQ(Ler(caminho, "databaseestoque", "USUARIO"), QStringLiteral("x=y = z"));
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "SENHA"), QString());
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", ";SENHA"), QString());
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "linha sem igual"), QString());
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "VAZIA"), QString());
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "NOME"), QStringLiteral("João €"));
  EXPECT_EQ(Ler(caminho, "Outra", "Caminho"), QStringLiteral("outra"));
  EXPECT_EQ(Ler(caminho, "", "CAMINHO"), QStringLiteral("antes de qualquer secao"));
  EXPECT_EQ(Ler(caminho, "NENHUMA", "CAMINHO"), QString());
}

TEST_F(LeituraArquivoIni, EntradaRuimLeComoVazio) {
  EXPECT_EQ(Ler(FPasta.filePath(QStringLiteral("nao-existe.ini")), "DATABASEESTOQUE", "CAMINHO"), QString());
  EXPECT_EQ(Ler(FPasta.path(), "DATABASEESTOQUE", "CAMINHO"), QString());  // a folder
  EXPECT_EQ(Ler(Gravar(QByteArray()), "DATABASEESTOQUE", "CAMINHO"), QString());

  // Binary garbage, zero bytes included, before a readable section.
  QRandomGenerator gerador(7);
  QByteArray lixo(1 << 20, '\0');
  for (char& c : lixo) c = char(gerador.bounded(256));
  const QString caminho = Gravar(lixo + "\n[DATABASEESTOQUE]\nCAMINHO=depois do lixo\n");
  EXPECT_EQ(Ler(caminho, "DATABASEESTOQUE", "CAMINHO"), QStringLiteral("depois do lixo"));
  EXPECT_EQ(Ler(Gravar(lixo), "DATABASEESTOQUE", "CAMINHO"), QString());

  // A line of megabytes is just a long value.
  const QByteArray longo(8 << 20, 'x');
  const QString comLinhaLonga = Gravar("[A]\nLONGA=" + longo + "\nCURTA=1\n");
  const ArquivoIni ini(comLinhaLonga);
  EXPECT_EQ(ini.Ler(QStringLiteral("A"), QStringLiteral("LONGA")).size(), longo.size());
  EXPECT_EQ(ini.Ler(QStringLiteral("A"), QStringLiteral("CURTA")), QStringLiteral("1"));

  // Past the size limit the file is not a configuration file: it reads as
  // empty and the caller reports the missing value.
  QByteArray grande = "[A]\nB=1\n";
  grande.append(QByteArray(ArquivoIni::kTamanhoMaximo, ';'));
  EXPECT_EQ(Ler(Gravar(grande), "A", "B"), QString());
  grande.truncate(ArquivoIni::kTamanhoMaximo);
  EXPECT_EQ(Ler(Gravar(grande), "A", "B"), QStringLiteral("1"));
}

}  // namespace
