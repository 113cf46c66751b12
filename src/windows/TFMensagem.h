#pragma once

#include <QDialog>

class MemoMensagem;
class QPushButton;

// The message window: one error's full text, read-only, with an "OK" button
// and nothing else to close it. Its opener creates it for one text, writes
// the text into Memo (SetTexto), shows it modally; it frees itself when it closes.
//
// Threads: the user-interface thread only.
class TFMensagem : public QDialog {
  Q_OBJECT

 public:
  explicit TFMensagem(QWidget* parent = nullptr);
  ~TFMensagem() override;

  // The window while it exists; openers build a new one when this is null.
  static TFMensagem* Instancia() { return FInstancia; }

  MemoMensagem* Memo = nullptr;
  QPushButton* BitBtn1 = nullptr;

  void FormShow();
  void BitBtn1Click();
  void FormClose();

 protected:
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  void EnviarRotina();

  static TFMensagem* FInstancia;
};
