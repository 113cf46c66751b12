// The INI reader over any bytes. Besides not failing, it must agree with a
// plain line-by-line reading of the same text: the first occurrence of a key
// in a section wins, section and key names match without regard to letter
// case, values come back trimmed and never span a line; putting a key in
// front of everything makes it win; commenting out every line empties the
// file; and "\n" and "\r\n" line ends read alike.
#include <QList>
#include <QStringList>

#include "Exigencia.h"

#include "app/ArquivoIni.h"
#include "platform/Windows1252.h"

namespace {

struct Entrada {
  QString secao;
  QString chave;
  QString valor;
};

// Lines end at "\r\n", "\r" or "\n".
QStringList Linhas(const QString& texto) {
  QString normalizado = texto;
  normalizado.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normalizado.replace(u'\r', u'\n');
  return normalizado.split(u'\n');
}

// Every key as the reader must see it, first occurrence only.
QList<Entrada> Esperado(const QString& texto) {
  QList<Entrada> entradas;
  QString secao;
  for (const QString& bruta : Linhas(texto)) {
    const QString linha = bruta.trimmed();
    if (linha.isEmpty() || linha.front() == u';') continue;
    if (linha.size() >= 2 && linha.front() == u'[' && linha.back() == u']') {
      secao = linha.mid(1, linha.size() - 2).trimmed();
      continue;
    }
    const qsizetype igual = linha.indexOf(u'=');
    if (igual < 0) continue;
    const Entrada nova{secao, linha.left(igual).trimmed(), linha.mid(igual + 1).trimmed()};
    bool repetida = false;
    for (const Entrada& e : entradas)
      repetida = repetida || (e.secao.toUpper() == nova.secao.toUpper() && e.chave.toUpper() == nova.chave.toUpper());
    if (!repetida) entradas.append(nova);
  }
  return entradas;
}

QString Descrever(const Entrada& e) { return QStringLiteral("[%1] %2").arg(e.secao, e.chave); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho) {
  const QByteArray bytes(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
  const ArquivoIni ini = ArquivoIni::DoConteudo(bytes);
  const QString texto = Windows1252::paraUnicode(bytes);
  const QList<Entrada> esperado = Esperado(texto);

  for (const Entrada& e : esperado) {
    const QString lido = ini.Ler(e.secao, e.chave);
    EXIGIR(lido == e.valor, Descrever(e) + QStringLiteral(": lido \"%1\", esperado \"%2\"").arg(lido, e.valor));
    EXIGIR(ini.Ler(e.secao.toLower(), e.chave.toLower()) == lido, Descrever(e) + " em minúsculas");
    EXIGIR(ini.Ler(e.secao.toUpper(), e.chave.toUpper()) == lido, Descrever(e) + " em maiúsculas");
    EXIGIR(lido == lido.trimmed() && !lido.contains(u'\n') && !lido.contains(u'\r'), Descrever(e) + " sem aparar");
  }
  // The keys the program reads, whether present or not.
  for (const char* chave : {"CAMINHO", "USUARIO", "SENHA"}) {
    const QString lido = ini.Ler(QStringLiteral("DATABASEESTOQUE"), QString::fromLatin1(chave));
    QString valor;
    for (const Entrada& e : esperado)
      if (e.secao.toUpper() == QStringLiteral("DATABASEESTOQUE") && e.chave.toUpper() == QLatin1String(chave)) valor = e.valor;
    EXIGIR(lido == valor, QStringLiteral("%1: lido \"%2\", esperado \"%3\"").arg(chave, lido, valor));
  }

  if (tamanho > 2048) return 0;  // the rest rereads the text several times

  // A key put in front of everything wins over any later one.
  const QByteArray primeiro = "[DatabaseEstoque]\r\n caminho = /primeiro.fdb \r\n";
  EXIGIR(ArquivoIni::DoConteudo(primeiro + bytes).Ler("DATABASEESTOQUE", "CAMINHO") == QStringLiteral("/primeiro.fdb"),
         "a primeira ocorrência não venceu");
  for (const Entrada& e : esperado) {
    const QByteArray antes = "[" + Windows1252::deUnicode(e.secao) + "]\n" + Windows1252::deUnicode(e.chave) + "=antes\n";
    // Only names that survive the round trip through the code page.
    if (Windows1252::paraUnicode(Windows1252::deUnicode(e.secao + e.chave)) != e.secao + e.chave) continue;
    EXIGIR(ArquivoIni::DoConteudo(antes + bytes).Ler(e.secao, e.chave) == QStringLiteral("antes"),
           Descrever(e) + " posta antes não venceu");
  }

  // Every line commented out: nothing is left.
  QByteArray comentado = bytes;
  comentado.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\n;").prepend(';');
  const ArquivoIni vazio = ArquivoIni::DoConteudo(comentado);
  for (const Entrada& e : esperado) EXIGIR(vazio.Ler(e.secao, e.chave).isEmpty(), Descrever(e) + " comentada foi lida");

  // Unix and DOS line ends read alike.
  QByteArray dos = bytes;
  dos.replace("\r\n", "\n").replace("\n", "\r\n");
  const ArquivoIni ini2 = ArquivoIni::DoConteudo(dos);
  for (const Entrada& e : esperado) EXIGIR(ini2.Ler(e.secao, e.chave) == e.valor, Descrever(e) + " com \\r\\n");
  return 0;
}
