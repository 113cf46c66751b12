#include "windows/JanelaDetalhe.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include "app/GuardaFalhas.h"
#include "app/ui/TFPainel.h"
#include "platform/Falha.h"
#include "usage/TThreadDataAnalyticsRest.h"

JanelaDetalhe::JanelaDetalhe(const QString& nome, const QString& titulo, Qt::WindowFlags botoesTitulo,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | botoesTitulo) {
  setObjectName(nome);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(titulo);
  setSizeGripEnabled(false);
}

void JanelaDetalhe::EnviarRotina() { TThreadDataAnalyticsRest::EnviarRotina(windowTitle()); }

TFPainel& JanelaDetalhe::Painel() {
  TFPainel* painel = TFPainel::Instancia();
  if (!painel) throw Falha(QStringLiteral("Janela principal não disponível."));
  return *painel;
}

void JanelaDetalhe::showEvent(QShowEvent* evento) {
  // No button is a default one: a button that takes the focus would become
  // it, and Enter elsewhere (a path field, a grid) would press it.
  for (QPushButton* botao : findChildren<QPushButton*>()) {
    botao->setAutoDefault(false);
    botao->setDefault(false);
  }
  QDialog::showEvent(evento);
  if (evento->spontaneous()) return;
  GuardaFalhas::Executar([this] { FormShow(); });
}

void JanelaDetalhe::closeEvent(QCloseEvent* evento) {
  QDialog::closeEvent(evento);
  GuardaFalhas::Executar([this] { FormClose(); });
}

void JanelaDetalhe::keyPressEvent(QKeyEvent* evento) {
  if (evento->matches(QKeySequence::Cancel)) {
    evento->accept();
    return;
  }
  if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
    // Here only when the focused control left the key alone.
    QWidget* foco = focusWidget();
    auto* botao = qobject_cast<QAbstractButton*>(foco);
    if (botao && (qobject_cast<QPushButton*>(botao) || qobject_cast<QToolButton*>(botao)) && botao->isEnabled())
      botao->click();
    evento->accept();
    return;
  }
  QDialog::keyPressEvent(evento);
}
