#include "TFVisualizarLog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <new>

#include "platform/Dialogos.h"
#include "platform/Falha.h"
#include "platform/MemoriaDisponivel.h"
#include "platform/Windows1252.h"
#include "windows/ConexaoGuardada.h"

namespace {
constexpr int kLarguraCliente = 880;
constexpr int kAlturaCliente = 467;
}  // namespace

TFVisualizarLog::TFVisualizarLog(QWidget* parent)
    : JanelaUnica(QStringLiteral("FVisualizarLog"), QStringLiteral("Visualizar Log"), Qt::WindowCloseButtonHint,
                  parent) {
  lblArquivo = new QLabel(QStringLiteral("Arquivo"), this);
  lblArquivo->setObjectName(QStringLiteral("lblArquivo"));
  lblArquivo->setGeometry(8, 6, 120, 16);

  Arquivo = new QLineEdit(this);
  Arquivo->setObjectName(QStringLiteral("Arquivo"));
  Arquivo->setReadOnly(true);
  Arquivo->setGeometry(8, 24, 616, 22);

  SpeedButton = new QToolButton(this);
  SpeedButton->setObjectName(QStringLiteral("SpeedButton"));
  SpeedButton->setText(QStringLiteral("..."));
  SpeedButton->setGeometry(625, 24, 23, 22);
  ConectarGuardado(SpeedButton, &QToolButton::clicked, this, &TFVisualizarLog::SpeedButtonClick);

  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  // No wrapping: long lines scroll sideways, and large files lay out fast.
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setUndoRedoEnabled(false);
  Memo->setGeometry(0, 54, kLarguraCliente, 370);

  pnlBotoesVisualizaLog = new QWidget(this);
  pnlBotoesVisualizaLog->setObjectName(QStringLiteral("pnlBotoesVisualizaLog"));
  pnlBotoesVisualizaLog->setGeometry(0, kAlturaCliente - 41, kLarguraCliente, 41);

  btFechar = new QPushButton(QStringLiteral("&Fechar"), pnlBotoesVisualizaLog);
  btFechar->setObjectName(QStringLiteral("btFechar"));
  btFechar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  btFechar->setGeometry(kLarguraCliente - 8 - 90, 8, 90, 25);
  ConectarGuardado(btFechar, &QPushButton::clicked, this, &TFVisualizarLog::btFecharClick);

  setFixedSize(kLarguraCliente, kAlturaCliente);
}

void TFVisualizarLog::FormShow() {
  EnviarRotina();
  Memo->clear();
  Arquivo->clear();
}

void TFVisualizarLog::SpeedButtonClick() {
  const std::optional<QString> escolhido = Dialogos::Atual().EscolherArquivo(QStringLiteral("*.txt|*.txt"));
  if (!escolhido) return;
  Arquivo->setText(*escolhido);
  // Read before touching the text area, so a failure keeps the old content.
  const QString texto = LerArquivo(Arquivo->text());
  Memo->setPlainText(texto);
}

qint64 TFVisualizarLog::MemoriaNecessaria(qint64 bytes, qint64 linhas) {
  return bytes * kMemoriaPorByte + linhas * kMemoriaPorLinha;
}

namespace {

[[noreturn]] void GrandeDemais(const QString& caminho, qint64 tamanho, qint64 limite) {
  throw Falha(QStringLiteral("O arquivo \"%1\" é grande demais para ser exibido (%2 MB; o limite é %3 MB).")
                  .arg(caminho)
                  .arg(tamanho / (1024 * 1024))
                  .arg(limite / (1024 * 1024)));
}

// Lines as the text area counts them: LF, CR LF or a lone CR ends one.
qint64 ContarLinhas(const QByteArray& bytes) {
  qint64 linhas = 1;
  const char* letras = bytes.constData();
  const qsizetype tamanho = bytes.size();
  for (qsizetype i = 0; i < tamanho; ++i)
    if (letras[i] == '\n' || (letras[i] == '\r' && (i + 1 == tamanho || letras[i + 1] != '\n'))) ++linhas;
  return linhas;
}

}  // namespace

QString TFVisualizarLog::LerArquivo(const QString& caminho) {
  QFile arquivo(caminho);
  if (!arquivo.open(QIODevice::ReadOnly))
    throw Falha(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(caminho, arquivo.errorString()));
  // Refused before reading when even its bytes cannot be held.
  const qint64 disponivel = MemoriaDisponivel::Bytes();
  const qint64 limite = disponivel / kMemoriaPorByte;
  if (arquivo.size() > limite) GrandeDemais(caminho, arquivo.size(), limite);
  try {
    const QByteArray bytes = arquivo.readAll();
    if (arquivo.error() != QFileDevice::NoError)
      throw Falha(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2").arg(caminho, arquivo.errorString()));
    // Many short lines cost more than their bytes: the limit given is that
    // of a file with lines like these.
    const qint64 necessaria = MemoriaNecessaria(bytes.size(), ContarLinhas(bytes));
    if (necessaria > disponivel)
      GrandeDemais(caminho, bytes.size(), static_cast<qint64>(bytes.size() * (disponivel / double(necessaria))));
    QString texto = Windows1252::paraUnicode(bytes);
    // One pass over the text: CR LF and a lone CR end a line as LF does, and
    // a NUL, which would end the text area's line early, becomes a blank
    // (binary files still show). Replacing "\r\n" through QString moves the
    // rest of the text once per thousand lines: seconds on a log of 50 MB.
    QChar* letras = texto.data();
    const qsizetype tamanho = texto.size();
    qsizetype escritas = 0;
    for (qsizetype i = 0; i < tamanho; ++i) {
      QChar letra = letras[i];
      if (letra == u'\r') {
        if (i + 1 < tamanho && letras[i + 1] == u'\n') continue;
        letra = u'\n';
      } else if (letra.isNull()) {
        letra = u' ';
      }
      letras[escritas++] = letra;
    }
    texto.truncate(escritas);
    return texto;
  } catch (const std::bad_alloc&) {
    throw Falha(QStringLiteral("Memória insuficiente para exibir o arquivo \"%1\".").arg(caminho));
  }
}

void TFVisualizarLog::btFecharClick() { close(); }
