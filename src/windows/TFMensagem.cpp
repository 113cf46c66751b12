#include "windows/TFMensagem.h"

#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include "windows/ConexaoGuardada.h"
#include "windows/MemoMensagem.h"

TFMensagem::TFMensagem(QWidget* parent)
    : JanelaUnica(QStringLiteral("FMensagem"), QStringLiteral("Informação"), {}, parent) {
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
  ConectarGuardado(BitBtn1, &QPushButton::clicked, this, &TFMensagem::BitBtn1Click);
}

void TFMensagem::FormShow() { EnviarRotina(); }

void TFMensagem::BitBtn1Click() { close(); }

void TFMensagem::showEvent(QShowEvent* evento) {
  if (!evento->spontaneous())
    if (QScreen* tela = screen()) move(tela->availableGeometry().center() - rect().center());
  JanelaUnica::showEvent(evento);
}
