#include "BancoTeste.h"

#include <QCoreApplication>
#include <QCryptographicHash>
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

// The template is built once per schema and shared by every test process
// (CTest runs each test in a process of its own): its name carries a hash of
// the schema, and it is built under a temporary name and renamed into place.
const QString& Modelo() {
  static QString caminho;
  static std::once_flag feito;
  std::call_once(feito, [] {
    const QString esquema = LerEsquema();
    const QByteArray hash = QCryptographicHash::hash(esquema.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    caminho = QDir::tempPath() + QStringLiteral("/painel-modelo-") + QString::fromLatin1(hash) + QStringLiteral(".fdb");
    if (QFile::exists(caminho)) return;
    QTemporaryDir pasta(QDir::tempPath() + QStringLiteral("/painel-modelo-XXXXXX"));
    const QString novo = pasta.filePath(QStringLiteral("modelo.fdb"));
    CriacaoBanco::CriarBanco(novo, BancoTeste::Usuario(), BancoTeste::Senha());
    {
      ConexaoBanco conexao;
      conexao.SetParam(QStringLiteral("Database"), novo);
      conexao.SetParam(QStringLiteral("User_Name"), BancoTeste::Usuario());
      conexao.SetParam(QStringLiteral("Password"), BancoTeste::Senha());
      CriacaoBanco::ExecutarScript(conexao, esquema);
      conexao.Fechar();
    }
    // Another process may have won the race; either file is the same.
    if (!QFile::rename(novo, caminho) && !QFile::exists(caminho))
      throw std::runtime_error("não foi possível guardar o banco modelo");
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
