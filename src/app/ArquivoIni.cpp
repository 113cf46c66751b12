#include "app/ArquivoIni.h"

#include <QFile>

#include "platform/Windows1252.h"

namespace {
QString Indice(const QString& secao, const QString& chave) {
  return secao.toUpper() + u'\n' + chave.toUpper();
}
}  // namespace

ArquivoIni::ArquivoIni(const QString& caminho) {
  QFile arquivo(caminho);
  if (!arquivo.open(QIODevice::ReadOnly)) return;
  if (arquivo.size() > kTamanhoMaximo) return;
  const QByteArray dados = arquivo.read(kTamanhoMaximo + 1);
  if (dados.size() > kTamanhoMaximo) return;
  Analisar(Windows1252::paraUnicode(dados));
}

ArquivoIni ArquivoIni::DoConteudo(const QByteArray& dados) {
  ArquivoIni ini;
  if (dados.size() <= kTamanhoMaximo) ini.Analisar(Windows1252::paraUnicode(dados));
  return ini;
}

void ArquivoIni::Analisar(const QString& texto) {
  QString secao;
  qsizetype inicio = 0;
  while (inicio <= texto.size()) {
    qsizetype fim = inicio;
    while (fim < texto.size() && texto[fim] != u'\r' && texto[fim] != u'\n') ++fim;
    const QString linha = texto.mid(inicio, fim - inicio).trimmed();
    if (fim < texto.size() && texto[fim] == u'\r' && fim + 1 < texto.size() && texto[fim + 1] == u'\n') ++fim;
    inicio = fim + 1;

    if (linha.isEmpty() || linha.startsWith(u';')) continue;
    if (linha.startsWith(u'[') && linha.endsWith(u']')) {
      secao = linha.mid(1, linha.size() - 2).trimmed();
      continue;
    }
    const qsizetype igual = linha.indexOf(u'=');
    if (igual < 0) continue;
    const QString chave = linha.left(igual).trimmed();
    const QString indice = Indice(secao, chave);
    if (!FValores.contains(indice)) FValores.insert(indice, linha.mid(igual + 1).trimmed());
  }
}

QString ArquivoIni::Ler(const QString& secao, const QString& chave) const {
  return FValores.value(Indice(secao, chave));
}
