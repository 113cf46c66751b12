#pragma once

#include "windows/JanelaUnica.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

// The log viewer: shows a text file the operator picks; it never writes it
// and touches no database. Every opening starts empty.
//
// Threads: the user-interface thread only.
class TFVisualizarLog : public JanelaUnica<TFVisualizarLog> {
  Q_OBJECT

 public:
  explicit TFVisualizarLog(QWidget* parent = nullptr);

  // A file shown takes several times its size in memory (the bytes and the
  // text made of them, then the text area's copy) and the text area keeps a
  // record of every line besides: measured with Qt 6.4, about 2 bytes per
  // byte and 470 per line once shown, 3 per byte while reading. A file whose
  // bytes and lines need more than the process can still take is refused
  // with a message instead of ending the process.
  static constexpr qint64 kMemoriaPorByte = 4;
  static constexpr qint64 kMemoriaPorLinha = 640;

  // Event handlers.
  void FormShow() override;
  void SpeedButtonClick();
  void btFecharClick();

  // The file read whole as 8-bit text, split at CR LF, LF or CR.
  static QString LerArquivo(const QString& caminho);

 private:
  static qint64 MemoriaNecessaria(qint64 bytes, qint64 linhas);

  QLabel* lblArquivo = nullptr;
  QLineEdit* Arquivo = nullptr;
  QToolButton* SpeedButton = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QWidget* pnlBotoesVisualizaLog = nullptr;
  QPushButton* btFechar = nullptr;
};
