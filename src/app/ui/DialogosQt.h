#pragma once

#include "platform/Dialogos.h"

// The message boxes, the open-file dialog and the clipboard of the running
// program, with the Portuguese captions and button texts.
class DialogosQt : public Dialogos {
 public:
  Resposta Mostrar(const QString& titulo, const QString& texto, Icone icone, Botoes botoes) override;
  std::optional<QString> EscolherArquivo(const QString& filtro) override;
  void CopiarTexto(const QString& texto) override;

  // "descrição|máscara|descrição|máscara" as Qt writes it: "descrição (máscara);;...".
  static QString FiltroQt(const QString& filtro);
};
