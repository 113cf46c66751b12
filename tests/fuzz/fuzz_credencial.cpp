// The credential decoder over any bytes: it never fails nor reads outside its
// input, its result has no zero byte and one plain byte per complete pair at
// most, earlier pairs never depend on later ones, characters outside the
// alphabet count as "0", and whatever it yields, the tests' independent
// encoder turns back into a text it decodes to the same bytes.
#include "Exigencia.h"

#include "Credencial.h"
#include "app/DecodificacaoCredencial.h"
#include "platform/Windows1252.h"

using namespace DecodificacaoCredencial;

namespace {

bool NoAlfabeto(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

QByteArray Decodificar(const QByteArray& codificado) { return DecodeConfigText(codificado); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* dados, size_t tamanho) {
  // No copy: the decoder reads the fuzzer's own buffer, so a read past its
  // end is caught by AddressSanitizer.
  const QByteArray entrada = QByteArray::fromRawData(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
  const QByteArray plano = Decodificar(entrada);

  EXIGIR(!plano.contains('\0'), "zero no texto decodificado");
  EXIGIR(plano.size() <= entrada.size() / 2, QString("%1 bytes de %2 caracteres").arg(plano.size()).arg(entrada.size()));

  // Pairs are decoded in order and the cut keeps a prefix: decoding a prefix
  // of whole pairs gives a prefix of the result.
  const qsizetype metade = (entrada.size() / 4) * 2;
  const QByteArray planoMetade = Decodificar(entrada.left(metade));
  EXIGIR(plano.startsWith(planoMetade), "prefixo decodificado de outra forma");
  if (plano.size() > planoMetade.size()) EXIGIR(planoMetade.size() == metade / 2, "corte antes do fim do prefixo");

  // A lone last character is an empty pair: it decodes to zero and is cut.
  if (entrada.size() % 2 == 1) EXIGIR(plano == Decodificar(entrada.left(entrada.size() - 1)), "caractere final solto");

  // Anything outside the alphabet, lower-case letters included, reads as "0".
  QByteArray normalizada(entrada.constData(), entrada.size());
  for (char& c : normalizada)
    if (!NoAlfabeto(c)) c = '0';
  EXIGIR(Decodificar(normalizada) == plano, "caractere fora do alfabeto não conta como 0");

  // Round trip through the independent encoder, both for the decoded text and
  // for the input taken as a plain text (cut at its first zero byte).
  const QByteArray recodificado = CodificarCredencial(plano).toLatin1();
  EXIGIR(recodificado.size() == 2 * plano.size(), "codificação com tamanho errado");
  EXIGIR(Decodificar(recodificado) == plano, "ida e volta do texto decodificado");
  QByteArray comoPlano(entrada.constData(), entrada.size());
  const qsizetype zero = comoPlano.indexOf('\0');
  if (zero >= 0) comoPlano.truncate(zero);
  EXIGIR(Decodificar(CodificarCredencial(comoPlano).toLatin1()) == comoPlano, "ida e volta da entrada como texto");

  // The program's text overload agrees with the byte one through Windows-1252.
  const QString texto = Windows1252::paraUnicode(entrada);
  EXIGIR(DecodeConfigText(texto) == Windows1252::paraUnicode(plano), "decodificação de texto difere da de bytes");

  // Every step is total: no pair and state make it misbehave.
  if (tamanho >= 4) {
    const quint16 estado = quint16(dados[2] | (dados[3] << 8));
    EXIGIR(AdvanceState(estado, int(dados[0]) - 128) < 0x4321, "estado fora do intervalo");
    const int indice = AlphabetIndex(char(dados[1]));
    EXIGIR(indice >= 0 && indice < 36, "índice fora do alfabeto");
    EXIGIR(DecodePair(entrada.left(1), estado) == 0, "par de um caractere não é zero");
  }
  return 0;
}
