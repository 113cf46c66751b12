#include "ConfiguracaoTeste.h"

#include <QDir>
#include <QSaveFile>

#include "Credencial.h"
#include "platform/Falha.h"
#include "platform/Windows1252.h"

namespace ConfiguracaoTeste {

QByteArray Conteudo(const QString& banco, const QString& usuario, const QString& senha) {
  const QString texto = QStringLiteral("[DATABASEESTOQUE]\r\nCAMINHO=%1\r\nUSUARIO=%2\r\nSENHA=%3\r\n")
                            .arg(banco, CodificarCredencial(Windows1252::deUnicode(usuario)),
                                 CodificarCredencial(Windows1252::deUnicode(senha)));
  return Windows1252::deUnicode(texto);
}

QString Escrever(const QString& pasta, const QString& banco, const QString& usuario, const QString& senha) {
  const QString caminho = QDir(pasta).filePath(QStringLiteral("Caminho.ini"));
  QSaveFile arquivo(caminho);
  const QByteArray conteudo = Conteudo(banco, usuario, senha);
  if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(conteudo) != conteudo.size() || !arquivo.commit())
    throw Falha(QStringLiteral("Não foi possível gravar %1.").arg(caminho));
  return caminho;
}

}  // namespace ConfiguracaoTeste
