#include "BancoTeste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <mutex>
#include <stdexcept>

#include "platform/CriacaoBanco.h"

namespace {

QString LerEsquema() {
  QFile arquivo(QStringLiteral(PAINEL_SCHEMA_FILE));
  if (!arquivo.open(QIODevice::ReadOnly)) throw std::runtime_error("schema.sql não encontrado");
  return QString::fromUtf8(arquivo.readAll());
}

// The template lives for the whole process in a folder of its own.
const QString& Modelo() {
  static QTemporaryDir pasta(QDir::tempPath() + QStringLiteral("/painel-modelo-XXXXXX"));
  static QString caminho;
  static std::once_flag feito;
  std::call_once(feito, [] {
    caminho = pasta.filePath(QStringLiteral("modelo.fdb"));
    CriacaoBanco::CriarBanco(caminho, BancoTeste::Usuario(), BancoTeste::Senha());
    ConexaoBanco conexao;
    conexao.SetParam(QStringLiteral("Database"), caminho);
    conexao.SetParam(QStringLiteral("User_Name"), BancoTeste::Usuario());
    conexao.SetParam(QStringLiteral("Password"), BancoTeste::Senha());
    CriacaoBanco::ExecutarScript(conexao, LerEsquema());
    conexao.Fechar();
  });
  return caminho;
}

}  // namespace

BancoTeste::BancoTeste() : FPasta(QDir::tempPath() + QStringLiteral("/painel-teste-XXXXXX")) {
  FCaminho = FPasta.filePath(QStringLiteral("integracao.fdb"));
  if (!QFile::copy(Modelo(), FCaminho)) throw std::runtime_error("não foi possível copiar o banco modelo");
  QFile::setPermissions(FCaminho, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                                      QFile::ReadOther | QFile::WriteOther);
  FConexao = std::make_unique<ConexaoBanco>();
  Configurar(*FConexao);
}

BancoTeste::~BancoTeste() { FConexao.reset(); }

void BancoTeste::Configurar(ConexaoBanco& conexao) const {
  conexao.SetParam(QStringLiteral("Database"), FCaminho);
  conexao.SetParam(QStringLiteral("User_Name"), Usuario());
  conexao.SetParam(QStringLiteral("Password"), Senha());
}

void BancoTeste::Executar(const QString& sql) {
  const QString texto = sql.trimmed();
  if (texto.contains(u'\n') && texto.endsWith(u';')) {
    CriacaoBanco::ExecutarScript(*FConexao, texto + u'\n');
    return;
  }
  ConsultaSql consulta(FConexao.get());
  consulta.SetSql(texto.endsWith(u';') ? texto.chopped(1) : texto);
  consulta.Executar();
}

QString BancoTeste::Valor(const QString& sql) {
  ConsultaSql consulta(FConexao.get());
  consulta.SetSql(sql);
  consulta.Abrir();
  return consulta.Vazia() ? QString() : consulta.Valor(0, 0).AsString();
}

void BancoTeste::Soltar() { FConexao->Fechar(); }
