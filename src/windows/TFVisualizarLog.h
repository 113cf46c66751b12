#pragma once

#include <QDialog>

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
class TFVisualizarLog : public QDialog {
  Q_OBJECT

 public:
  explicit TFVisualizarLog(QWidget* parent = nullptr);
  ~TFVisualizarLog() override;

  // The window while it exists; openers build a new one when this is null.
  static TFVisualizarLog* Instancia() { return FInstancia; }

  // Files larger than this are refused with a message instead of being held
  // in memory twice (bytes and text).
  static constexpr qint64 kTamanhoMaximo = qint64(512) * 1024 * 1024;

  // Event handlers.
  void FormShow();
  void SpeedButtonClick();
  void btFecharClick();
  void FormClose();

  // The file read whole as 8-bit text, split at CR LF, LF or CR.
  static QString LerArquivo(const QString& caminho);

 protected:
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void EnviarRotina();

  static TFVisualizarLog* FInstancia;

  QLabel* lblArquivo = nullptr;
  QLineEdit* Arquivo = nullptr;
  QToolButton* SpeedButton = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QWidget* pnlBotoesVisualizaLog = nullptr;
  QPushButton* btFechar = nullptr;
};
