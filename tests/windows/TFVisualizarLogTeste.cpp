#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>

#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "windows/TFVisualizarLog.h"

namespace {

TEST(TFVisualizarLogTeste, ArquivosQuebrasECasosDeFalha) {
  TFPainel painel(QStringLiteral("/nao/existe/Caminho.ini"));
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  dialogos.Limpar();
  QTemporaryDir pasta;
  auto gravar = [&](const char* nome, const QByteArray& bytes) {
    QFile f(pasta.filePath(QLatin1String(nome)));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
  };
  QPointer<TFVisualizarLog> janela = new TFVisualizarLog();
  janela->show();
  EXPECT_EQ(janela->windowTitle(), QStringLiteral("Visualizar Log"));
  auto* arquivo = janela->findChild<QLineEdit*>("Arquivo");
  auto* memo = janela->findChild<QPlainTextEdit*>("Memo");
  auto* botao = janela->findChild<QToolButton*>("SpeedButton");
  ASSERT_TRUE(arquivo && memo && botao);
  EXPECT_TRUE(arquivo->isReadOnly());
  EXPECT_EQ(arquivo->width(), 616);
  EXPECT_EQ(memo->height(), 370);

  const QString crlf = gravar("a.txt", "um\r\ndois\ntres\rquatro");
  dialogos.EnfileirarArquivo(crlf);
  botao->click();
  EXPECT_EQ(dialogos.Filtros(), QStringList({"*.txt|*.txt"}));
  EXPECT_EQ(arquivo->text(), crlf);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("um\ndois\ntres\nquatro"));

  // Cancelled: nothing changes.
  botao->click();
  EXPECT_EQ(arquivo->text(), crlf);
  EXPECT_EQ(memo->document()->blockCount(), 4);

  // Every kind of line end, mixed and doubled, and NULs, read directly.
  EXPECT_EQ(TFVisualizarLog::LerArquivo(gravar("fins.txt", QByteArray("\r\na\r\r\nb\n\rc\0d\r\n\ne\r", 17))),
            QStringLiteral("\na\n\nb\n\nc d\n\ne\n"));
  EXPECT_EQ(TFVisualizarLog::LerArquivo(gravar("cr.txt", "\r")), QStringLiteral("\n"));

  // Bytes 0x80..0xFF as Windows-1252.
  dialogos.EnfileirarArquivo(gravar("b.txt", "a\x80\xe7\xe3"));
  botao->click();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("a€çã"));

  // Unreadable: error box, path shown, content kept.
  dialogos.EnfileirarArquivo(pasta.filePath("nao-existe.txt"));
  botao->click();
  EXPECT_EQ(arquivo->text(), pasta.filePath("nao-existe.txt"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("a€çã"));
  ASSERT_FALSE(dialogos.Caixas().isEmpty());
  EXPECT_TRUE(dialogos.Caixas().last().Texto.contains(QStringLiteral("nao-existe.txt")));

  const QString vazio = gravar("c.txt", "");
  dialogos.EnfileirarArquivo(vazio);
  botao->click();
  EXPECT_EQ(arquivo->text(), vazio);
  EXPECT_TRUE(memo->toPlainText().isEmpty());

  // A new opening starts empty.
  memo->setPlainText("x");
  janela->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(janela.isNull());
  EXPECT_EQ(TFVisualizarLog::Instancia(), nullptr);
  janela = new TFVisualizarLog();
  janela->show();
  EXPECT_TRUE(janela->findChild<QLineEdit*>("Arquivo")->text().isEmpty());
  EXPECT_TRUE(janela->findChild<QPlainTextEdit*>("Memo")->toPlainText().isEmpty());
  delete janela.data();
}

}  // namespace
