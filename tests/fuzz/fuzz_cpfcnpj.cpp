// The tax-number layout over any text. Twelve characters or more take the
// CNPJ mask, fewer the CPF mask; the separators stand at fixed places; taking
// them out gives the input back in order, padded with spaces up to the mask's
// positions; nothing of the input is lost, however long or odd it is.
#include <algorithm>
#include <array>

#include "Exigencia.h"

#include "platform/Windows1252.h"
#include "usage/TFuncoes.h"

namespace {

struct Separador {
  qsizetype posicao;
  char16_t caractere;
};

// Where each separator stands in the formatted text, and how many input
// characters the mask places.
struct Mascara {
  std::array<Separador, 4> separadores;
  qsizetype quantos;
  qsizetype posicoes;
};

constexpr Mascara kCnpj{{{{2, u'.'}, {6, u'.'}, {10, u'/'}, {15, u'-'}}}, 4, 14};
constexpr Mascara kCpf{{{{3, u'.'}, {7, u'.'}, {11, u'-'}, {0, 0}}}, 3, 11};

bool EhSeparador(const Mascara& m, qsizetype i) {
  for (qsizetype s = 0; s < m.quantos; ++s)
    if (m.separadores[s].posicao == i) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho) {
  // Windows-1252 bytes, as the branch's number comes from the database; an
  // input that starts with a zero byte is UTF-16 after it, so that any code
  // unit (lone surrogates included) reaches the formatter.
  QString numero;
  if (tamanho > 0 && dados[0] == 0) {
    for (size_t i = 1; i + 1 < tamanho; i += 2) numero.append(QChar(char16_t(dados[i] | (dados[i + 1] << 8))));
  } else
    numero = Windows1252::paraUnicode(reinterpret_cast<const char*>(dados), qsizetype(tamanho));

  const QString formatado = TFuncoes::FormatarCpfCnpj(numero);
  const Mascara& m = numero.size() >= 12 ? kCnpj : kCpf;

  const qsizetype esperado = m.posicoes + m.quantos + std::max<qsizetype>(0, numero.size() - m.posicoes);
  EXIGIR(formatado.size() == esperado,
         QStringLiteral("%1 caracteres para %2, esperados %3").arg(formatado.size()).arg(numero.size()).arg(esperado));

  for (qsizetype s = 0; s < m.quantos; ++s) {
    const Separador& sep = m.separadores[s];
    EXIGIR(formatado[sep.posicao] == QChar(sep.caractere),
           QStringLiteral("posição %1: '%2', esperado '%3'").arg(sep.posicao).arg(formatado[sep.posicao]).arg(QChar(sep.caractere)));
  }

  // Without its separators the text is the input, space-padded to the mask.
  QString semSeparadores;
  const qsizetype fimMascara = m.posicoes + m.quantos;
  for (qsizetype i = 0; i < formatado.size(); ++i)
    if (i >= fimMascara || !EhSeparador(m, i)) semSeparadores += formatado[i];
  EXIGIR(semSeparadores == numero.leftJustified(m.posicoes, u' '), "caracteres do número fora de ordem ou perdidos");

  // The formatter is a pure function.
  EXIGIR(TFuncoes::FormatarCpfCnpj(numero) == formatado, "o mesmo número formatado de outro jeito");
  return 0;
}
