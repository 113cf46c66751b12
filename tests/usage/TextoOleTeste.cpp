#include <gtest/gtest.h>

#include <cstring>

#include "platform/OleString.h"
#include "platform/TextoOle.h"

namespace {

std::uint32_t Prefixo(BSTR texto) {
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(texto) - 4, 4);
  return bytes;
}

}  // namespace

TEST(TextoOle, AlocadorGuardaOTamanhoEmBytesAntesDoTextoETerminaComNul) {
  const long vivas = OleString::Vivas();

  BSTR abc = SysAllocStringLen(u"abcdef", 3);
  ASSERT_NE(abc, nullptr);
  EXPECT_EQ(Prefixo(abc), 6u);
  EXPECT_EQ(SysStringLen(abc), 3u);
  EXPECT_EQ(SysStringByteLen(abc), 6u);
  EXPECT_EQ(std::u16string(abc, 3), u"abc");
  EXPECT_EQ(abc[3], u'\0');

  BSTR zeros = SysAllocStringLen(nullptr, 2);
  EXPECT_EQ(zeros[0], 0);
  EXPECT_EQ(zeros[1], 0);
  EXPECT_EQ(Prefixo(zeros), 4u);
  EXPECT_EQ(OleString::Vivas(), vivas + 2);

  // Reallocating from a piece of the string itself.
  ASSERT_EQ(SysReAllocStringLen(&abc, abc + 1, 2), 1);
  EXPECT_EQ(std::u16string(abc, 2), u"bc");
  EXPECT_EQ(Prefixo(abc), 4u);
  EXPECT_EQ(abc[2], u'\0');
  EXPECT_EQ(OleString::Vivas(), vivas + 2);

  SysFreeString(abc);
  SysFreeString(zeros);
  SysFreeString(nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(OleString::Vivas(), vivas);
}

TEST(TextoOle, TextoVazioEhNuloECopiasSaoNovas) {
  const long vivas = OleString::Vivas();
  EXPECT_EQ(TextoOle::Criar(QString()), nullptr);
  EXPECT_EQ(TextoOle::Criar(QStringLiteral("")), nullptr);
  EXPECT_EQ(TextoOle::Copiar(nullptr), nullptr);
  EXPECT_EQ(TextoOle::Ler(nullptr), QString());

  const QString original = QStringLiteral("Ação € \"x\"");
  BSTR texto = TextoOle::Criar(original);
  EXPECT_EQ(Prefixo(texto), static_cast<std::uint32_t>(original.size() * 2));
  EXPECT_EQ(TextoOle::Ler(texto), original);

  BSTR copia = TextoOle::Copiar(texto);
  EXPECT_NE(copia, texto);
  EXPECT_EQ(TextoOle::Ler(copia), original);
  SysFreeString(texto);
  EXPECT_EQ(TextoOle::Ler(copia), original);
  SysFreeString(copia);

  // An empty string from elsewhere is still an empty text: copied as null.
  BSTR vazio = SysAllocStringLen(u"", 0);
  EXPECT_EQ(TextoOle::Copiar(vazio), nullptr);
  SysFreeString(vazio);
  EXPECT_EQ(OleString::Vivas(), vivas);
}
