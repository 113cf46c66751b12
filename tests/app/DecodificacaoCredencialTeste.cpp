#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "CodificacaoCredencial.h"
#include "app/DecodificacaoCredencial.h"

using namespace DecodificacaoCredencial;

namespace {

TEST(DecodificacaoCredencial, PassosElementares) {
  EXPECT_EQ(AlphabetIndex('0'), 0);
  EXPECT_EQ(AlphabetIndex('9'), 9);
  EXPECT_EQ(AlphabetIndex('A'), 10);
  EXPECT_EQ(AlphabetIndex('Z'), 35);
  EXPECT_EQ(AlphabetIndex('a'), 0);  // lower case is not in the alphabet
  EXPECT_EQ(AlphabetIndex('#'), 0);
  // k = 0, state 0: i1 + 16 * i2.
  EXPECT_EQ(DecodePair("12", 0), 1 + 16 * 2);
  // The second character enters only through its low four bits.
  EXPECT_EQ(DecodePair("0Z", 0), (16 * (35 % 16)) & 0xFF);
  // k = (0x0300 >> 8) % 19 = 3; low byte of the state is XORed in.
  EXPECT_EQ(DecodePair("A1", 0x0305), ((10 + 16 * 1 - 17 * 3) & 0xFF) ^ 0x05);
  // The first character's difference is taken in full, modulo 256.
  EXPECT_EQ(DecodePair("00", 0x1200), (256 - 17 * (0x12 % 19)) & 0xFF);
  EXPECT_EQ(DecodePair("1", 0), 0);
  // Pair 1 uses the key's second character 'O', pair 6 the first 'Q'.
  EXPECT_EQ(AdvanceState(0, 1), ('O' * 17) % 17185);
  EXPECT_EQ(AdvanceState(0, 6), ('Q' * 17) % 17185);
  EXPECT_EQ(AdvanceState(17184, 7), ((17184 + 'O') * 17) % 17185);
  for (int estado = 0; estado < 65536; estado += 97) EXPECT_LT(AdvanceState(quint16(estado), 3), 17185);
}

TEST(DecodificacaoCredencial, CasosDeBorda) {
  EXPECT_EQ(DecodeConfigText(QByteArray()), QByteArray());
  const QByteArray sysdba = CodificacaoCredencial::Codificar("SYSDBA");
  EXPECT_EQ(sysdba.size(), 12);
  EXPECT_EQ(DecodeConfigText(sysdba), QByteArray("SYSDBA"));
  // Odd length: the lone last character decodes to 0 and is cut away.
  EXPECT_EQ(DecodeConfigText(sysdba + "Q"), QByteArray("SYSDBA"));
  // A zero in the middle ends the text; the pairs after it still advance
  // the state but are cut.
  const QByteArray comZero = CodificacaoCredencial::Codificar(QByteArray("ab\0cd", 5));
  EXPECT_EQ(DecodeConfigText(comZero), QByteArray("ab"));
  // Lower case counts as "0": another text, never a failure.
  EXPECT_NE(DecodeConfigText(sysdba.toLower()), QByteArray("SYSDBA"));
  EXPECT_EQ(DecodeConfigText(QByteArray("!!")), DecodeConfigText(QByteArray("00")));
  // The same pair decodes differently at different places.
  const QByteArray dois = DecodeConfigText(QByteArray("5A5A"));
  ASSERT_EQ(dois.size(), 2);
  EXPECT_NE(dois[0], dois[1]);
  EXPECT_EQ(DecodeConfigText(QString::fromLatin1(CodificacaoCredencial::Codificar("senha\xe7\x80"))),
            QStringLiteral("senhaç€"));
}

TEST(DecodificacaoCredencial, CodificarEDecodificarDevolveCadaTexto) {
  // Every byte at the first two places, exhaustively.
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const QByteArray plano{char(a), char(b)};
      ASSERT_EQ(DecodeConfigText(CodificacaoCredencial::Codificar(plano)), plano) << a << " " << b;
    }
  }
  // Random texts of 1 to 40 bytes without a zero byte.
  QRandomGenerator gerador(20261209);
  for (int i = 0; i < 20000; ++i) {
    QByteArray plano(1 + int(gerador.bounded(40)), '\1');
    for (char& c : plano) c = char(1 + gerador.bounded(255));
    const QByteArray codificado = CodificacaoCredencial::Codificar(plano);
    ASSERT_EQ(codificado.size(), plano.size() * 2);
    ASSERT_EQ(DecodeConfigText(codificado), plano);
  }
}

}  // namespace
