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
  // The window once built; the reference is kept as the base class, since
  // the constructor that records it runs before the derived window exists.
  static Janela* Instancia() { return static_cast<Janela*>(FInstancia); }

  // Freed once closed (WA_DeleteOnClose); the next opening builds a new one.
  void FormClose() override { Soltar(); }

 protected:
  JanelaUnica(const QString& nome, const QString& titulo, Qt::WindowFlags botoesTitulo, QWidget* parent)
      : JanelaDetalhe(nome, titulo, botoesTitulo, parent) {
    FInstancia = this;
  }
  ~JanelaUnica() override { Soltar(); }

 private:
  void Soltar() {
    if (FInstancia == this) FInstancia = nullptr;
  }

  static inline JanelaUnica* FInstancia = nullptr;
};
