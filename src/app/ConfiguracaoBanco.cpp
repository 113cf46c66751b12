#include "app/ConfiguracaoBanco.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/ArquivoIni.h"
#include "app/DecodificacaoCredencial.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"

namespace ConfiguracaoBanco {

QString ArquivoPadrao() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Caminho.ini"));
}

void ConectarBanco(ConexaoBanco& conexao, const QString& arquivoIni) {
  const QString secao = QStringLiteral("DATABASEESTOQUE");
  const ArquivoIni ini(arquivoIni);
  const QString caminho = ini.Ler(secao, QStringLiteral("CAMINHO"));
  if (caminho.isEmpty())
    throw Falha(QStringLiteral("Caminho do banco de dados não configurado no \"Caminho.Ini\".\r\n"
                               "Entre em contato com o suporte técnico."));
  conexao.Fechar();
  conexao.SetParam(QStringLiteral("Database"), caminho);
  conexao.SetParam(QStringLiteral("User_Name"),
                   DecodificacaoCredencial::DecodeConfigText(ini.Ler(secao, QStringLiteral("USUARIO"))));
  conexao.SetParam(QStringLiteral("Password"),
                   DecodificacaoCredencial::DecodeConfigText(ini.Ler(secao, QStringLiteral("SENHA"))));
  try {
    conexao.Abrir();
  } catch (const Falha& falha) {
    // Both values go in at once, so a "%" in either stays as it is.
    throw Falha(QStringLiteral("Falha ao conectar banco de dados %1. Motivo: %2\r\n"
                               "Entre em contato com o suporte técnico.")
                    .arg(caminho, falha.Mensagem()),
                falha.VeioDoBanco());
  }
}

void VerificarArquivoNomeado(const QString& arquivoIni) {
  const QFileInfo info(arquivoIni);
  if (!info.exists())
    throw Falha(QStringLiteral("Arquivo de configuração não encontrado: %1").arg(arquivoIni));
  QFile arquivo(arquivoIni);
  if (info.isDir() || !arquivo.open(QIODevice::ReadOnly))
    throw Falha(QStringLiteral("Arquivo de configuração não pode ser lido: %1").arg(arquivoIni));
}

bool ContagemRapida(const QString& arquivoIni, bool pedidaNaLinha) {
  if (pedidaNaLinha) return true;
  const QString valor = ArquivoIni(arquivoIni).Ler(QStringLiteral("PAINEL"), QStringLiteral("CONTAGEM"));
  return valor.compare(QLatin1String("RAPIDA"), Qt::CaseInsensitive) == 0;
}

}  // namespace ConfiguracaoBanco
