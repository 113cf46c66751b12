#pragma once

#include <QPlainTextEdit>

// The message window's text: read-only, wrapped at the widget's width.
// Laying out one paragraph costs more than linear time in its length (an
// error text of megabytes on one line would freeze the window for minutes),
// so a paragraph longer than kMaiorParagrafo is shown in pieces, cut after a
// blank where one is near. Texto() keeps the text as it was given.
//
// Threads: the user-interface thread only.
class MemoMensagem : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kMaiorParagrafo = 4096;

  explicit MemoMensagem(QWidget* parent = nullptr);

  void SetTexto(const QString& texto);
  const QString& Texto() const { return FTexto; }

  // The text as laid out: line ends as "\n", long paragraphs cut.
  static QString Paragrafos(const QString& texto);

 private:
  QString FTexto;
};
