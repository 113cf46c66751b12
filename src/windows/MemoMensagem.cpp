#include "windows/MemoMensagem.h"

namespace {

// How far back from the limit a blank is looked for.
const int kBuscaBranco = 256;

}  // namespace

MemoMensagem::MemoMensagem(QWidget* parent) : QPlainTextEdit(parent) {}

void MemoMensagem::SetTexto(const QString& texto) {
  FTexto = texto;
  setPlainText(Paragrafos(texto));
}

QString MemoMensagem::Paragrafos(const QString& texto) {
  QString resultado;
  resultado.reserve(texto.size() + texto.size() / kMaiorParagrafo + 1);
  qsizetype inicioLinha = 0;
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const QChar c = texto.at(i);
    if (c == u'\r' || c == u'\n') {
      // CR LF, LF and a lone CR each end one line.
      if (c == u'\r' && i + 1 < texto.size() && texto.at(i + 1) == u'\n') ++i;
      resultado += u'\n';
      inicioLinha = resultado.size();
      continue;
    }
    resultado += c;
    if (resultado.size() - inicioLinha < kMaiorParagrafo) continue;
    qsizetype corte = resultado.size();
    for (qsizetype j = resultado.size() - 1; j > resultado.size() - kBuscaBranco; --j) {
      if (resultado.at(j).isSpace()) {
        corte = j + 1;
        break;
      }
    }
    resultado.insert(corte, u'\n');
    inicioLinha = corte + 1;
  }
  return resultado;
}
