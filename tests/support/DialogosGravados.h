#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/Dialogos.h"

// Records every box, file dialog and clipboard text instead of showing them,
// and answers from a script: confirmations "&Sim" unless told otherwise, the
// file dialog with the queued file names (cancelled when none is queued).
// test_main installs one instance for the whole run; each test clears it.
class DialogosGravados : public Dialogos {
 public:
  struct Caixa {
    QString Titulo;
    QString Texto;
    Icone IconeMostrado;
    Botoes BotoesMostrados;
  };

  static DialogosGravados& Instancia();

  Resposta Mostrar(const QString& titulo, const QString& texto, Icone icone, Botoes botoes) override;
  std::optional<QString> EscolherArquivo(const QString& filtro) override;
  void CopiarTexto(const QString& texto) override;

  void Limpar();
  void ResponderConfirmacoes(Resposta resposta) { FResposta = resposta; }
  void EnfileirarArquivo(const QString& arquivo) { FArquivos << arquivo; }
  // Runs while a box is "open", to see what happens meanwhile.
  void AoMostrar(std::function<void()> acao) { FAoMostrar = std::move(acao); }

  const QList<Caixa>& Caixas() const { return FCaixas; }
  QStringList Textos() const;
  const QStringList& Filtros() const { return FFiltros; }
  const std::optional<QString>& AreaDeTransferencia() const { return FAreaDeTransferencia; }
  // Boxes open at this moment (more than one means they were stacked).
  int Abertas() const { return FAbertas; }
  int MaximoAbertas() const { return FMaximoAbertas; }

 private:
  QList<Caixa> FCaixas;
  QStringList FArquivos;
  QStringList FFiltros;
  std::optional<QString> FAreaDeTransferencia;
  Resposta FResposta = Resposta::Sim;
  std::function<void()> FAoMostrar;
  int FAbertas = 0;
  int FMaximoAbertas = 0;
};
