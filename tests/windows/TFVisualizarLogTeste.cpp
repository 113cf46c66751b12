#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "platform/Falha.h"
#include "platform/MemoriaDisponivel.h"
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

// KB of a line of /proc/self/status.
qint64 StatusKb(const std::string& chave) {
  std::ifstream status("/proc/self/status");
  std::string linha;
  while (std::getline(status, linha))
    if (linha.rfind(chave + ":", 0) == 0) return std::stoll(linha.substr(chave.size() + 1));
  return -1;
}

TEST(TFVisualizarLogTeste, LimiteSegueAMemoriaDoProcesso) {
  QTemporaryDir pasta;
  // Sparse: a gigabyte that takes no disk.
  const QString grande = pasta.filePath(QStringLiteral("grande.txt"));
  {
    QFile f(grande);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(1) << 30));
  }
  // A megabyte on one line, and 16 MB of empty lines: each line costs the
  // text area more than its byte.
  const QString pequeno = pasta.filePath(QStringLiteral("pequeno.txt"));
  const QString linhas = pasta.filePath(QStringLiteral("linhas.txt"));
  for (const auto& [nome, bytes] :
       {std::pair{pequeno, QByteArray(1 << 20, 'a')}, std::pair{linhas, QByteArray(16 << 20, '\n')}}) {
    QFile f(nome);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  EXPECT_GT(MemoriaDisponivel::Bytes(), 0);

  // In a child whose address space may grow by 256 MB only: the gigabyte is
  // refused before anything is read, with the limit that room gives, and so
  // are the empty lines; the megabyte still shows. The exit code says which
  // check failed.
  const qint64 folga = qint64(256) << 20;
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    const rlim_t teto = rlim_t(StatusKb("VmSize") * 1024 + folga);
    const rlimit limite{teto, teto};
    if (setrlimit(RLIMIT_AS, &limite) != 0) _exit(10);
    const qint64 disponivel = MemoriaDisponivel::Bytes();
    if (disponivel > folga || disponivel < folga / 2) _exit(11);
    // The limit named is the file that room holds, in MB.
    const QRegularExpression recusa(
        QStringLiteral("^O arquivo \"(.*)\" é grande demais para ser exibido \\(1024 MB; o limite é (\\d+) MB\\)\\.$"));
    try {
      TFVisualizarLog::LerArquivo(grande);
      _exit(13);
    } catch (const Falha& falha) {
      const QRegularExpressionMatch partes = recusa.match(falha.Mensagem());
      if (!partes.hasMatch() || partes.captured(1) != grande) _exit(14);
      const int limite = partes.captured(2).toInt();
      const qint64 porByte = TFVisualizarLog::kMemoriaPorByte;
      if (limite > (folga >> 20) / porByte || limite < (folga >> 20) / porByte / 2) _exit(12);
    }
    try {
      if (TFVisualizarLog::LerArquivo(pequeno).size() != 1 << 20) _exit(15);
    } catch (...) {
      _exit(16);
    }
    try {
      TFVisualizarLog::LerArquivo(linhas);
      _exit(17);
    } catch (const Falha& falha) {
      const QString inicio =
          QStringLiteral("O arquivo \"%1\" é grande demais para ser exibido (16 MB; o limite é ").arg(linhas);
      if (!falha.Mensagem().startsWith(inicio)) _exit(18);
    }
    _exit(0);
  }
  int estado = 0;
  ASSERT_EQ(waitpid(filho, &estado, 0), filho);
  ASSERT_TRUE(WIFEXITED(estado));
  EXPECT_EQ(WEXITSTATUS(estado), 0);
}

}  // namespace
