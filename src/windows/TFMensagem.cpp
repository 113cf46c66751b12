#include "windows/TFMensagem.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "app/GuardaFalhas.h"
#include "windows/MemoMensagem.h"
#include "usage/TThreadDataAnalyticsRest.h"

TFMensagem* TFMensagem::FInstancia = nullptr;

TFMensagem::TFMensagem(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  FInstancia = this;
  setObjectName(QStringLiteral("FMensagem"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Informação"));
  setFixedSize(452, 144);

  Memo = new MemoMensagem(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setGeometry(0, 0, 452, 105);
  Memo->setReadOnly(true);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  QPalette paleta = Memo->palette();
  paleta.setColor(QPalette::Base, paleta.color(QPalette::Window));
  Memo->setPalette(paleta);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtn1->setGeometry((452 - 75) / 2, 112, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { GuardaFalhas::Executar([this] { BitBtn1Click(); }); });
}

TFMensagem::~TFMensagem() {
  if (FInstancia == this) FInstancia = nullptr;
}

void TFMensagem::FormShow() { EnviarRotina(); }

void TFMensagem::BitBtn1Click() { close(); }

void TFMensagem::FormClose() {
  // The window is freed once closed (WA_DeleteOnClose); the next text gets
  // a new one.
  if (FInstancia == this) FInstancia = nullptr;
}

void TFMensagem::EnviarRotina() {
  TThreadDataAnalyticsRest::EnviarRotina(windowTitle());
}

void TFMensagem::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (evento->spontaneous()) return;
  if (QScreen* tela = screen()) move(tela->availableGeometry().center() - rect().center());
  GuardaFalhas::Executar([this] { FormShow(); });
}

void TFMensagem::closeEvent(QCloseEvent* evento) {
  QDialog::closeEvent(evento);
  GuardaFalhas::Executar([this] { FormClose(); });
}

void TFMensagem::keyPressEvent(QKeyEvent* evento) {
  // Only "OK" closes the window; Esc does not.
  if (evento->key() == Qt::Key_Escape) {
    evento->accept();
    return;
  }
  QDialog::keyPressEvent(evento);
}
