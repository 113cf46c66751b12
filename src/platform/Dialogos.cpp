#include "platform/Dialogos.h"

#include <cstdio>

namespace {

// Used only before the program installs its own: a box that nobody can see
// must not block, so it writes the text out and answers "no".
class DialogosSemTela : public Dialogos {
 public:
  Resposta Mostrar(const QString& titulo, const QString& texto, Icone, Botoes botoes) override {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(titulo), qUtf8Printable(texto));
    return botoes == Botoes::Ok ? Resposta::Ok : Resposta::Nao;
  }
  std::optional<QString> EscolherArquivo(const QString&) override { return std::nullopt; }
  void CopiarTexto(const QString&) override {}
};

Dialogos*& Instalado() {
  static DialogosSemTela semTela;
  static Dialogos* atual = &semTela;
  return atual;
}

}  // namespace

Dialogos& Dialogos::Atual() { return *Instalado(); }

void Dialogos::Instalar(Dialogos* dialogos) { Instalado() = dialogos; }

void Dialogos::Erro(const QString& texto) {
  Atual().Mostrar(QStringLiteral("Erro"), texto, Icone::Erro, Botoes::Ok);
}

void Dialogos::Alerta(const QString& texto) {
  Atual().Mostrar(QStringLiteral("Alerta"), texto, Icone::Alerta, Botoes::Ok);
}

void Dialogos::Informacao(const QString& texto) {
  Atual().Mostrar(QStringLiteral("Informação"), texto, Icone::Informacao, Botoes::Ok);
}

bool Dialogos::Confirmar(const QString& texto) {
  return Atual().Mostrar(QStringLiteral("Confirmação"), texto, Icone::Pergunta, Botoes::SimNao) == Resposta::Sim;
}
