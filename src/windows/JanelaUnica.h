#pragma once

#include "windows/JanelaDetalhe.h"

// A detail window of which at most one exists: openers build one only when
// Instancia() is null, and closing it clears the reference, so every opening
// builds a fresh window.
//
// Threads: the user-interface thread only.
template <typename Janela>
class JanelaUnica : public JanelaDetalhe {
 public:
  static Janela* Instancia() { return FInstancia; }

  // Freed once closed (WA_DeleteOnClose); the next opening builds a new one.
  void FormClose() override { Soltar(); }

 protected:
  JanelaUnica(const QString& nome, const QString& titulo, Qt::WindowFlags botoesTitulo, QWidget* parent)
      : JanelaDetalhe(nome, titulo, botoesTitulo, parent) {
    FInstancia = static_cast<Janela*>(this);
  }
  ~JanelaUnica() override { Soltar(); }

 private:
  void Soltar() {
    if (FInstancia == this) FInstancia = nullptr;
  }

  static inline Janela* FInstancia = nullptr;
};
