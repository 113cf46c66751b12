#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <array>

#include "Credencial.h"
#include "app/DecodificacaoCredencial.h"

using namespace DecodificacaoCredencial;

namespace {

QByteArray Codificar(const QByteArray& plano) { return CodificarCredencial(plano).toLatin1(); }

// QByteArray{a, b} would be the (size, fill) constructor.
QByteArray Par(char a, char b) { return QByteArray(1, a) + b; }

TEST(DecodificacaoCredencial, PassosElementares) {
  EXPECT_EQ(AlphabetIndex('0'), 0);
  EXPECT_EQ(AlphabetIndex('9'), 9);
  EXPECT_EQ(AlphabetIndex('A'), 10);
  EXPECT_EQ(AlphabetIndex('Z'), 35);
  EXPECT_EQ(AlphabetIndex('a'), 0);  // lower case is not in the alphabet
  EXPECT_EQ(AlphabetIndex('#'), 0);
  EXPECT_EQ(AlphabetIndex('\xC7'), 0);
  // k = 0, state 0: i1 + 16 * i2.
  EXPECT_EQ(DecodePair("12", 0), 1 + 16 * 2);
  // The second character enters only through its low four bits.
  EXPECT_EQ(DecodePair("0Z", 0), 16 * (35 % 16));
  // k = (0x0300 >> 8) % 19 = 3; the low byte of the state is xored in.
  EXPECT_EQ(DecodePair("A1", 0x0305), ((10 + 16 * 1 - 17 * 3) & 0xFF) ^ 0x05);
  // The first character's difference is taken in full, modulo 256.
  EXPECT_EQ(DecodePair("00", 0x1200), (256 - 17 * (0x12 % 19)) & 0xFF);
  EXPECT_EQ(DecodePair("Z0", 0x1300), 35);  // 0x13 % 19 == 0
  EXPECT_EQ(DecodePair("1", 0), 0);
  EXPECT_EQ(DecodePair("", 0x1234), 0);
  // Pair 1 uses the key's second character 'O', pair 6 the first 'Q'.
  EXPECT_EQ(AdvanceState(0, 1), ('O' * 17) % 17185);
  EXPECT_EQ(AdvanceState(0, 5), ('V' * 17) % 17185);
  EXPECT_EQ(AdvanceState(0, 6), ('Q' * 17) % 17185);
  EXPECT_EQ(AdvanceState(17184, 7), ((17184 + 'O') * 17) % 17185);
  EXPECT_EQ(AdvanceState(0xFFFF, 2), ((0xFFFF + 'M') * 17) % 17185);
  for (int estado = 0; estado < 65536; estado += 97) EXPECT_LT(AdvanceState(quint16(estado), 3), 17185);
}

TEST(DecodificacaoCredencial, CasosDeBorda) {
  EXPECT_EQ(DecodeConfigText(QByteArray()), QByteArray());
  EXPECT_EQ(DecodeConfigText(QString()), QString());
  const QByteArray sysdba = Codificar("SYSDBA");
  EXPECT_EQ(sysdba.size(), 12);
  EXPECT_EQ(DecodeConfigText(sysdba), QByteArray("SYSDBA"));
  // Odd length: the lone last character decodes to 0 and is cut away.
  EXPECT_EQ(DecodeConfigText(sysdba + "Q"), QByteArray("SYSDBA"));
  EXPECT_EQ(DecodeConfigText(QByteArray("Z")), QByteArray());
  // A zero in the middle ends the text; the pairs after it still advance
  // the state but are cut.
  EXPECT_EQ(DecodeConfigText(Codificar(QByteArray("ab\0cd", 5))), QByteArray("ab"));
  EXPECT_EQ(DecodeConfigText(Codificar(QByteArray("\0cd", 3))), QByteArray());
  // Lower case and characters outside the alphabet count as "0": another
  // text, never a failure.
  EXPECT_NE(DecodeConfigText(sysdba.toLower()), QByteArray("SYSDBA"));
  EXPECT_EQ(DecodeConfigText(QByteArray("!!")), DecodeConfigText(QByteArray("00")));
  EXPECT_EQ(DecodeConfigText(QByteArray("a#\xFF~")), DecodeConfigText(QByteArray("0000")));
  // The same pair decodes differently at different places.
  const QByteArray dois = DecodeConfigText(QByteArray("5A5A"));
  ASSERT_EQ(dois.size(), 2);
  EXPECT_NE(dois[0], dois[1]);
  // The text overload speaks Windows-1252: 0xE7 is "ç", 0x80 is "€".
  EXPECT_EQ(DecodeConfigText(CodificarCredencial("senha\xe7\x80")), QStringLiteral("senhaç€"));
  // Long garbage decodes in one go, without complaint.
  QByteArray lixo(200000, '\0');
  for (int i = 0; i < lixo.size(); ++i) lixo[i] = char((i * 7919) % 256);
  EXPECT_LE(DecodeConfigText(lixo).size(), lixo.size() / 2);
}

TEST(DecodificacaoCredencial, TodoByteAlcancavelDeTodoEstado) {
  // The encoder writes byte t as the pair (t's low nibble, t's high nibble),
  // after undoing the state. For every state the decoder can meet, those 256
  // pairs must decode to 256 different bytes: then every byte is reachable.
  std::array<QByteArray, 256> pares;
  const char* alfabeto = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int t = 0; t < 256; ++t) pares[t] = Par(alfabeto[t & 15], alfabeto[t >> 4]);
  for (int estado = 0; estado < 65536; ++estado) {
    std::array<bool, 256> visto{};
    int distintos = 0;
    for (const QByteArray& par : pares) {
      const quint8 b = DecodePair(par, quint16(estado));
      if (!visto[b]) ++distintos;
      visto[b] = true;
    }
    ASSERT_EQ(distintos, 256) << "estado " << estado;
  }
  // With the whole alphabet in both places each byte has several encodings:
  // 36 * 36 pairs over 256 bytes.
  for (const int estado : {0, 0x0100, 0x12FF, 17184}) {
    std::array<int, 256> vezes{};
    for (int i1 = 0; i1 < 36; ++i1)
      for (int i2 = 0; i2 < 36; ++i2) ++vezes[DecodePair(Par(alfabeto[i1], alfabeto[i2]), quint16(estado))];
    EXPECT_EQ(*std::min_element(vezes.begin(), vezes.end()), 4) << estado;
    EXPECT_EQ(*std::max_element(vezes.begin(), vezes.end()), 9) << estado;
  }
}

TEST(DecodificacaoCredencial, CodificarEDecodificarDevolveCadaTexto) {
  for (int a = 1; a < 256; ++a) ASSERT_EQ(DecodeConfigText(Codificar(QByteArray(1, char(a)))), QByteArray(1, char(a)));
  // Every byte at the first two places, exhaustively.
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const QByteArray plano = Par(char(a), char(b));
      ASSERT_EQ(DecodeConfigText(Codificar(plano)), plano) << a << " " << b;
    }
  }
  // Random texts of 1 to 40 bytes without a zero byte.
  QRandomGenerator gerador(20261209);
  for (int i = 0; i < 50000; ++i) {
    QByteArray plano(1 + int(gerador.bounded(40)), '\1');
    for (char& c : plano) c = char(1 + gerador.bounded(255));
    const QByteArray codificado = Codificar(plano);
    ASSERT_EQ(codificado.size(), plano.size() * 2);
    ASSERT_EQ(DecodeConfigText(codificado), plano);
  }
  // Every byte value at every place of a 40-byte text.
  for (int t = 1; t < 256; ++t) {
    QByteArray plano(40, char(t));
    for (int i = 0; i < 40; i += 3) plano[i] = char(1 + (t * 31 + i) % 255);
    ASSERT_EQ(DecodeConfigText(Codificar(plano)), plano);
  }
}

TEST(DecodificacaoCredencial, FerramentaCodificaParaOPrograma) {
  const QString programa = QStringLiteral(PAINEL_TOOLS_DIR "/codificar-credencial");
  if (!QFileInfo::exists(programa)) GTEST_SKIP() << "ferramenta não construída";
  QProcess processo;
  processo.start(programa, {QStringLiteral("Mäster€ key")});
  ASSERT_TRUE(processo.waitForFinished());
  EXPECT_EQ(processo.exitCode(), 0);
  const QByteArray saida = processo.readAllStandardOutput().trimmed();
  EXPECT_EQ(DecodeConfigText(QString::fromLatin1(saida)), QStringLiteral("Mäster€ key"));

  processo.start(programa, {QStringLiteral("Ω")});  // not in Windows-1252
  ASSERT_TRUE(processo.waitForFinished());
  EXPECT_EQ(processo.exitCode(), 2);
  EXPECT_TRUE(processo.readAllStandardOutput().isEmpty());
}

}  // namespace
