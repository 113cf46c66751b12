#pragma once

#include <QString>
#include <optional>

// The one seam through which the program talks to the operator outside its
// own windows: message boxes, the open-file dialog and the clipboard. The
// program installs the Qt implementation at start; the tests install one
// that records what was shown and answers from a script, so nothing blocks.
//
// Threads: the user-interface thread only.
class Dialogos {
 public:
  enum class Icone { Erro, Alerta, Informacao, Pergunta, Exclamacao };
  enum class Botoes { Ok, SimNao };
  enum class Resposta { Ok, Sim, Nao, Cancelar };

  virtual ~Dialogos() = default;

  // A modal box; the caption is the title given ("Erro", "Alerta",
  // "Informação", "Confirmação"), the buttons "OK" or "&Sim" and "&Não".
  virtual Resposta Mostrar(const QString& titulo, const QString& texto, Icone icone, Botoes botoes) = 0;
  // The open-file dialog with a filter written as "descrição|máscara";
  // nothing when the operator cancels.
  virtual std::optional<QString> EscolherArquivo(const QString& filtro) = 0;
  // Puts a plain text on the system clipboard.
  virtual void CopiarTexto(const QString& texto) = 0;

  // The implementation in force; the program and the tests install theirs.
  static Dialogos& Atual();
  static void Instalar(Dialogos* dialogos);

  // The boxes the program uses, with their captions.
  static void Erro(const QString& texto);
  static void Alerta(const QString& texto);
  static void Informacao(const QString& texto);
  // "Confirmação" with "&Sim" and "&Não": true only for "&Sim".
  static bool Confirmar(const QString& texto);
};
