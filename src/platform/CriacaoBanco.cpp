#include "platform/CriacaoBanco.h"

#include <QStringList>

#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/FirebirdApi.h"
#include "platform/Windows1252.h"

using namespace Firebird;

namespace CriacaoBanco {

void CriarBanco(const QString& caminho, const QString& usuario, const QString& senha) {
  try {
    FirebirdApi::Status st;
    IXpbBuilder* dpb = FirebirdApi::Mestre()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    IProvider* provedor = FirebirdApi::Mestre()->getDispatcher();
    try {
      const QByteArray u = Windows1252::deUnicode(usuario);
      const QByteArray s = Windows1252::deUnicode(senha);
      dpb->insertString(&st, isc_dpb_user_name, u.constData());
      dpb->insertString(&st, isc_dpb_password, s.constData());
      dpb->insertInt(&st, isc_dpb_sql_dialect, 1);
      dpb->insertInt(&st, isc_dpb_set_db_sql_dialect, 1);
      dpb->insertString(&st, isc_dpb_set_db_charset, "WIN1252");
      dpb->insertInt(&st, isc_dpb_page_size, 8192);
      const QByteArray nome = Windows1252::deUnicode(caminho);
      IAttachment* anexo =
          provedor->createDatabase(&st, nome.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
      anexo->detach(&st);
    } catch (...) {
      dpb->dispose();
      provedor->release();
      throw;
    }
    dpb->dispose();
    provedor->release();
  } catch (const FbException& e) {
    throw FirebirdApi::Converter(e);
  }
}

void ExecutarScript(ConexaoBanco& conexao, const QString& script) {
  QString atual;
  const QStringList linhas = script.split(u'\n');
  for (const QString& linha : linhas) {
    const QString limpa = linha.trimmed();
    if (limpa.startsWith(QStringLiteral("--")) || (limpa.isEmpty() && atual.isEmpty())) continue;
    atual += linha + u'\n';
    if (limpa.endsWith(u';')) {
      atual = atual.trimmed();
      atual.chop(1);
      ConsultaSql instrucao(&conexao);
      instrucao.SetSql(atual);
      instrucao.Executar();
      atual.clear();
    }
  }
}

}  // namespace CriacaoBanco
