#pragma once

#include <QDialog>

class TFPainel;

// What every detail window shares. It frees itself when it closes; showing
// it runs FormShow and closing it FormClose, each through the failure guard;
// FormShow starts the usage report for the caption (EnviarRotina). The keys
// behave alike in all of them: Esc closes none (each closes by its own
// button or its close box), and Enter presses only the button that has the
// focus, never a default one.
//
// Threads: the user-interface thread only.
class JanelaDetalhe : public QDialog {
  Q_OBJECT

 public:
  virtual void FormShow() = 0;
  virtual void FormClose() = 0;

 protected:
  // A dialog with only the buttons given in its title bar.
  JanelaDetalhe(const QString& nome, const QString& titulo, Qt::WindowFlags botoesTitulo, QWidget* parent);

  // The usage report for the window's caption; returns at once.
  void EnviarRotina();
  // The main window, whose connection and guarded transactions the detail
  // windows use.
  static TFPainel& Painel();

  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
};
