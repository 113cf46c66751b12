#include "platform/ConexaoBanco.h"

#include "platform/ConsultaSql.h"
#include "platform/FirebirdApi.h"
#include "platform/Windows1252.h"

using namespace Firebird;
using FirebirdApi::Status;

namespace {

// The driver's parameter set, in its order, with its defaults.
QList<ConexaoBanco::Parametro> ParametrosPadrao() {
  return {
      {QStringLiteral("DriverName"), QStringLiteral("Interbase")},
      {QStringLiteral("Database"), QStringLiteral("bancodados.fb")},
      {QStringLiteral("RoleName"), QStringLiteral("RoleName")},
      {QStringLiteral("User_Name"), QStringLiteral("sysdba")},
      {QStringLiteral("Password"), QStringLiteral("quartzfen")},
      {QStringLiteral("ServerCharSet"), QString()},
      {QStringLiteral("SQLDialect"), QStringLiteral("1")},
      {QStringLiteral("ErrorResourceFile"), QString()},
      {QStringLiteral("LocaleCode"), QStringLiteral("0000")},
      {QStringLiteral("BlobSize"), QStringLiteral("-1")},
      {QStringLiteral("CommitRetain"), QStringLiteral("False")},
      {QStringLiteral("WaitOnLocks"), QStringLiteral("True")},
      {QStringLiteral("Interbase TransIsolation"), QStringLiteral("ReadCommited")},
      {QStringLiteral("Trim Char"), QStringLiteral("False")},
  };
}

// Builds a parameter block; the builder is released on every path.
class Bloco {
 public:
  Bloco(Status& st, unsigned tipo)
      : FBuilder(FirebirdApi::Mestre()->getUtilInterface()->getXpbBuilder(&st, tipo, nullptr, 0)) {}
  ~Bloco() { FBuilder->dispose(); }
  Bloco(const Bloco&) = delete;
  Bloco& operator=(const Bloco&) = delete;
  IXpbBuilder* operator->() const { return FBuilder; }

 private:
  IXpbBuilder* FBuilder;
};

}  // namespace

ConexaoBanco::ConexaoBanco() : FParams(ParametrosPadrao()) {}

ConexaoBanco::~ConexaoBanco() {
  Fechar();
  for (ConsultaSql* consulta : FConsultas) consulta->FConexao = nullptr;
}

QString ConexaoBanco::Param(const QString& nome) const {
  for (const Parametro& p : FParams)
    if (p.first.compare(nome, Qt::CaseInsensitive) == 0) return p.second;
  return {};
}

void ConexaoBanco::SetParam(const QString& nome, const QString& valor) {
  for (Parametro& p : FParams) {
    if (p.first.compare(nome, Qt::CaseInsensitive) == 0) {
      p.second = valor;
      return;
    }
  }
  FParams.append({nome, valor});
}

unsigned ConexaoBanco::Dialeto() const {
  bool ok = false;
  const unsigned dialeto = Param(QStringLiteral("SQLDialect")).toUInt(&ok);
  return ok && dialeto > 0 ? dialeto : 1;
}

void ConexaoBanco::Abrir() {
  if (FAnexo) return;
  try {
    Status st;
    Bloco dpb(st, IXpbBuilder::DPB);
    const QByteArray usuario = Windows1252::deUnicode(Param(QStringLiteral("User_Name")));
    const QByteArray senha = Windows1252::deUnicode(Param(QStringLiteral("Password")));
    const QByteArray papel = Windows1252::deUnicode(Param(QStringLiteral("RoleName")));
    const QByteArray charset = Windows1252::deUnicode(Param(QStringLiteral("ServerCharSet")));
    dpb->insertString(&st, isc_dpb_user_name, usuario.constData());
    dpb->insertString(&st, isc_dpb_password, senha.constData());
    if (!papel.isEmpty()) dpb->insertString(&st, isc_dpb_sql_role_name, papel.constData());
    dpb->insertInt(&st, isc_dpb_sql_dialect, static_cast<int>(Dialeto()));
    if (!charset.isEmpty()) dpb->insertString(&st, isc_dpb_lc_ctype, charset.constData());
    const QByteArray banco = Windows1252::deUnicode(Param(QStringLiteral("Database")));
    IProvider* provedor = FirebirdApi::Mestre()->getDispatcher();
    try {
      FAnexo = provedor->attachDatabase(&st, banco.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    } catch (...) {
      provedor->release();
      throw;
    }
    provedor->release();
    ++FGeracao;
  } catch (const FbException& e) {
    throw FirebirdApi::Converter(e);
  }
}

void ConexaoBanco::Fechar() {
  if (!FAnexo) return;
  for (ConsultaSql* consulta : FConsultas) consulta->LiberarPreparo(false);
  try {
    Status st;
    FTransacaoPerdida = false;
    if (FLeitura) {
      FLeitura->rollback(&st);
      FLeitura = nullptr;
    }
    if (FTransacao) {
      FTransacao->rollback(&st);
      FTransacao = nullptr;
    }
    FAnexo->detach(&st);
    FAnexo = nullptr;
  } catch (const FbException&) {
    // The attachment is going away anyway; what is left is released below.
    Descartar();
  }
}

void ConexaoBanco::Descartar() {
  for (ConsultaSql* consulta : FConsultas) consulta->LiberarPreparo(true);
  if (FTransacao) {
    FTransacao->release();
    FTransacao = nullptr;
    FTransacaoPerdida = true;
  }
  if (FLeitura) {
    FLeitura->release();
    FLeitura = nullptr;
  }
  if (FAnexo) {
    FAnexo->release();
    FAnexo = nullptr;
  }
}

IAttachment* ConexaoBanco::AnexoAberto() {
  Abrir();
  return FAnexo;
}

ITransaction* ConexaoBanco::NovaTransacao() {
  IAttachment* anexo = AnexoAberto();
  try {
    Status st;
    const QString espera = Param(QStringLiteral("WaitOnLocks"));
    if (FTpb.isEmpty() || espera != FTpbEspera) {
      Bloco tpb(st, IXpbBuilder::TPB);
      tpb->insertTag(&st, isc_tpb_read_committed);
      tpb->insertTag(&st, isc_tpb_rec_version);
      const bool aguarda = espera.compare(QStringLiteral("False"), Qt::CaseInsensitive) != 0;
      tpb->insertTag(&st, aguarda ? isc_tpb_wait : isc_tpb_nowait);
      tpb->insertTag(&st, isc_tpb_write);
      FTpb = QByteArray(reinterpret_cast<const char*>(tpb->getBuffer(&st)), int(tpb->getBufferLength(&st)));
      FTpbEspera = espera;
    }
    return anexo->startTransaction(&st, unsigned(FTpb.size()), reinterpret_cast<const unsigned char*>(FTpb.constData()));
  } catch (const FbException& e) {
    Relancar(e);
  }
}

void ConexaoBanco::IniciarTransacao() {
  if (EmTransacao()) throw Falha(QStringLiteral("Já existe uma transação aberta na conexão."));
  FTransacao = NovaTransacao();
}

void ConexaoBanco::ConfirmarTransacao() {
  if (FTransacaoPerdida) {
    FTransacaoPerdida = false;
    throw Falha(QStringLiteral("A conexão com o banco de dados foi perdida; a transação foi desfeita."));
  }
  if (!FTransacao) throw Falha(QStringLiteral("Não há transação aberta na conexão."));
  try {
    Status st;
    FTransacao->commit(&st);
    FTransacao = nullptr;
  } catch (const FbException& e) {
    Relancar(e);
  }
}

void ConexaoBanco::CancelarTransacao() {
  if (FTransacaoPerdida) {
    FTransacaoPerdida = false;  // the server already undid it
    return;
  }
  if (!FTransacao) throw Falha(QStringLiteral("Não há transação aberta na conexão."));
  try {
    Status st;
    FTransacao->rollback(&st);
    FTransacao = nullptr;
  } catch (const FbException& e) {
    Relancar(e);
  }
}

void ConexaoBanco::IniciarLeituraInstantanea() {
  if (FLeitura) throw Falha(QStringLiteral("Já existe uma leitura instantânea aberta na conexão."));
  FLeitura = NovaLeituraPropria();
}

ITransaction* ConexaoBanco::NovaLeituraPropria() {
  IAttachment* anexo = AnexoAberto();
  try {
    Status st;
    if (FTpbLeitura.isEmpty()) {
      // Reads only, so it neither waits on nor takes any lock.
      Bloco tpb(st, IXpbBuilder::TPB);
      tpb->insertTag(&st, isc_tpb_concurrency);
      tpb->insertTag(&st, isc_tpb_nowait);
      tpb->insertTag(&st, isc_tpb_read);
      FTpbLeitura = QByteArray(reinterpret_cast<const char*>(tpb->getBuffer(&st)), int(tpb->getBufferLength(&st)));
    }
    return anexo->startTransaction(&st, unsigned(FTpbLeitura.size()),
                                   reinterpret_cast<const unsigned char*>(FTpbLeitura.constData()));
  } catch (const FbException& e) {
    Relancar(e);
  }
}

void ConexaoBanco::EncerrarLeituraInstantanea() {
  if (!FLeitura) return;
  ITransaction* leitura = FLeitura;
  FLeitura = nullptr;
  try {
    Status st;
    leitura->commit(&st);
  } catch (const FbException& e) {
    // Nothing was written: a failed end loses nothing, and the server frees
    // the transaction with its attachment.
    leitura->release();
    Relancar(e);
  }
}

void ConexaoBanco::ContarExecucao(const QString& sql) {
  ++FExecucoes;
  if (FObservador) FObservador(sql);
}

void ConexaoBanco::Relancar(const FbException& e) {
  FalhaBanco falha = FirebirdApi::Converter(e);
  if (falha.ConexaoPerdida()) Descartar();
  throw falha;
}
