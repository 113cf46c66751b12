#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "DialogosGravados.h"
#include "windows/MemoMensagem.h"
#include "windows/TFMensagem.h"

namespace {

void Liberar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(TFMensagemTeste, JanelaDoTextoInteiro) {
  QPointer<TFMensagem> janela = new TFMensagem();
  EXPECT_EQ(TFMensagem::Instancia(), janela.data());
  EXPECT_EQ(janela->windowTitle(), QStringLiteral("Informação"));
  EXPECT_EQ(janela->size(), QSize(452, 144));
  EXPECT_EQ(janela->minimumSize(), janela->maximumSize()) << "fixed border";
  const Qt::WindowFlags flags = janela->windowFlags();
  EXPECT_FALSE(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));

  MemoMensagem* memo = janela->findChild<MemoMensagem*>(QStringLiteral("Memo"));
  ASSERT_EQ(memo, janela->Memo);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->geometry(), QRect(0, 0, 452, 105));
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(memo->palette().color(QPalette::Base), janela->palette().color(QPalette::Window));
  auto* ok = janela->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
  ASSERT_EQ(ok, janela->BitBtn1);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_EQ(ok->size(), QSize(75, 25));
  EXPECT_EQ(ok->geometry().center().x(), 452 / 2 - 1);
  EXPECT_GE(ok->y(), 105);
  EXPECT_LE(ok->geometry().bottom(), 143);

  // The opener's text, whole; CR LF, LF and a lone CR each end a line.
  memo->SetTexto(QStringLiteral("Falha na integração\r\nlinha 2\rlinha 3\nfim"));
  janela->show();
  EXPECT_EQ(memo->Texto(), QStringLiteral("Falha na integração\r\nlinha 2\rlinha 3\nfim"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Falha na integração\nlinha 2\nlinha 3\nfim"));
  if (QScreen* tela = janela->screen()) {
    const QPoint desvio = janela->frameGeometry().center() - tela->availableGeometry().center();
    EXPECT_LE(desvio.manhattanLength(), 4) << "centred on the screen";
  }

  // Esc does not close it; "OK" closes and frees it.
  QTest::keyClick(memo, Qt::Key_Escape);
  EXPECT_TRUE(janela->isVisible());
  QTest::mouseClick(ok, Qt::LeftButton);
  Liberar();
  EXPECT_TRUE(janela.isNull());
  EXPECT_EQ(TFMensagem::Instancia(), nullptr);
  EXPECT_TRUE(DialogosGravados::Instancia().Caixas().isEmpty());
}

TEST(TFMensagemTeste, ParagrafosLongosEmPedacos) {
  const int limite = MemoMensagem::kMaiorParagrafo;
  // Short paragraphs are left alone.
  EXPECT_EQ(MemoMensagem::Paragrafos(QStringLiteral("a b\r\n\r\nc")), QStringLiteral("a b\n\nc"));
  EXPECT_EQ(MemoMensagem::Paragrafos(QString()), QString());

  // No blank: cut at the limit.
  const QString corrido(2 * limite + 10, u'x');
  const QStringList pedacos = MemoMensagem::Paragrafos(corrido).split(u'\n');
  ASSERT_EQ(pedacos.size(), 3);
  EXPECT_EQ(pedacos[0].size(), limite);
  EXPECT_EQ(pedacos[1].size(), limite);
  EXPECT_EQ(pedacos[2].size(), 10);

  // A blank near the limit: cut after it, nothing lost.
  const QString palavras = QString(limite - 20, u'y') + QStringLiteral(" fim da palavra ") + QString(100, u'z');
  const QString mostrado = MemoMensagem::Paragrafos(palavras);
  EXPECT_EQ(mostrado.indexOf(u'\n'), limite - 20 + QStringLiteral(" fim da palavra ").size());
  EXPECT_EQ(QString(mostrado).remove(u'\n'), palavras);

  // A line end restarts the count.
  const QString linhas = QString(limite - 1, u'a') + QStringLiteral("\r\n") + QString(limite - 1, u'b');
  EXPECT_EQ(MemoMensagem::Paragrafos(linhas).count(u'\n'), 1);
}

}  // namespace
