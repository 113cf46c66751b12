#pragma once

#include "windows/JanelaUnica.h"

class MemoMensagem;
class QPushButton;

// The message window: one error's full text, read-only, with an "OK" button
// and nothing else to close it. Its opener creates it for one text, writes
// the text into Memo (SetTexto), shows it modally; it frees itself when it closes.
//
// Threads: the user-interface thread only.
class TFMensagem : public JanelaUnica<TFMensagem> {
  Q_OBJECT

 public:
  explicit TFMensagem(QWidget* parent = nullptr);

  MemoMensagem* Memo = nullptr;
  QPushButton* BitBtn1 = nullptr;

  void FormShow() override;
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* evento) override;
};
