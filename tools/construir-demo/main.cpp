// Builds the demo database of the panel through the embedded engine: the
// integration tables of the schema, the ERP tables that the change log names
// (with real primary keys, so the records viewer finds their key columns),
// and data that puts every state of the panel on screen. Beside it, a log
// file of the integration service for the log viewer.
//
//   construir-demo --esquema=tests/fixtures/schema.sql --banco=build/demo/velmora-demo.fdb
//                  [--log=build/demo/integracao.txt]
//
// The content is the same on every run: one fixed seed and one fixed moment,
// kInstante, of which the data is a snapshot ("last receipt two minutes
// ago" means two minutes before kInstante). A database that depended on the
// clock would differ from run to run, and from the screenshots taken of it.
//
// The file is built under a temporary name and renamed when complete, so an
// interrupted build never leaves a half-filled database behind. An existing
// database is never touched.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

#include "Demo.h"
#include "ErpDemo.h"
#include "GravacaoDemo.h"
#include "LogServico.h"
#include "platform/ConexaoBanco.h"
#include "platform/CriacaoBanco.h"
#include "platform/Falha.h"

namespace {

struct Opcoes {
  QString Esquema, Banco, Log;
};

bool Ler(const QStringList& argumentos, Opcoes& opcoes) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    const QString valor = arg.section(u'=', 1);
    if (arg.startsWith(QLatin1String("--esquema="))) opcoes.Esquema = valor;
    else if (arg.startsWith(QLatin1String("--banco="))) opcoes.Banco = valor;
    else if (arg.startsWith(QLatin1String("--log="))) opcoes.Log = valor;
    else return false;
  }
  return !opcoes.Esquema.isEmpty() && !opcoes.Banco.isEmpty();
}

void Relatar(const QString& mensagem) { std::fprintf(stderr, "%s\n", qUtf8Printable(mensagem)); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Opcoes opcoes;
  if (!Ler(app.arguments(), opcoes)) {
    Relatar(QStringLiteral("Uso: construir-demo --esquema=schema.sql --banco=ARQUIVO.fdb [--log=ARQUIVO.txt]"));
    return 2;
  }
  QFile esquema(opcoes.Esquema);
  if (!esquema.open(QIODevice::ReadOnly)) {
    Relatar(QStringLiteral("Esquema não encontrado: %1").arg(opcoes.Esquema));
    return 2;
  }
  const QString banco = QFileInfo(opcoes.Banco).absoluteFilePath();
  if (QFileInfo::exists(banco)) {
    Relatar(QStringLiteral("O banco %1 já existe; apague-o para construir outro.").arg(banco));
    return 1;
  }
  if (!QDir().mkpath(QFileInfo(banco).absolutePath())) {
    Relatar(QStringLiteral("Não foi possível criar a pasta de %1.").arg(banco));
    return 1;
  }
  // Left over by a build that was interrupted: it was never complete.
  const QString parcial = banco + QStringLiteral(".parcial");
  QFile::remove(parcial);

  QElapsedTimer relogio;
  relogio.start();
  Demo demo;
  try {
    demo.Gerar();
    ConexaoBanco conexao;
    CriacaoBanco::CriarBanco(parcial);
    conexao.SetParam(QStringLiteral("Database"), parcial);
    conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
    // Every table in one transaction, committed before the first row.
    conexao.IniciarTransacao();
    CriacaoBanco::ExecutarScript(conexao, QString::fromUtf8(esquema.readAll()));
    CriacaoBanco::ExecutarScript(conexao, DdlTabelas());
    conexao.ConfirmarTransacao();
    GravacaoDemo(conexao, demo.Conteudo()).Gravar();
    conexao.Fechar();
  } catch (const Falha& falha) {
    QFile::remove(parcial);
    Relatar(QStringLiteral("Falha ao construir o banco de demonstração: %1").arg(falha.Mensagem()));
    return 1;
  }
  if (!QFile::rename(parcial, banco)) {
    QFile::remove(parcial);
    Relatar(QStringLiteral("Não foi possível gravar %1.").arg(banco));
    return 1;
  }
  if (!opcoes.Log.isEmpty()) {
    QSaveFile log(opcoes.Log);
    if (!log.open(QIODevice::WriteOnly) || log.write(TextoLogServico(demo.Conteudo().Log)) < 0 || !log.commit()) {
      Relatar(QStringLiteral("Não foi possível gravar o log %1.").arg(opcoes.Log));
      return 1;
    }
  }
  std::printf("%s\n", qUtf8Printable(QStringLiteral("Banco de demonstração criado em %1 s: %2 (%3 KB, %4 alterações)")
                                         .arg(relogio.elapsed() / 1000.0, 0, 'f', 1)
                                         .arg(banco)
                                         .arg(QFileInfo(banco).size() / 1024)
                                         .arg(demo.Conteudo().Alteracoes.size())));
  return 0;
}
