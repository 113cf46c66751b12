#include "app/ui/DialogosQt.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

Dialogos::Resposta DialogosQt::Mostrar(const QString& titulo, const QString& texto, Icone icone, Botoes botoes) {
  QMessageBox caixa(QApplication::activeWindow());
  caixa.setWindowTitle(titulo);
  caixa.setText(texto);
  switch (icone) {
    case Icone::Erro: caixa.setIcon(QMessageBox::Critical); break;
    case Icone::Alerta:
    case Icone::Exclamacao: caixa.setIcon(QMessageBox::Warning); break;
    case Icone::Informacao: caixa.setIcon(QMessageBox::Information); break;
    case Icone::Pergunta: caixa.setIcon(QMessageBox::Question); break;
  }
  if (botoes == Botoes::SimNao) {
    QPushButton* sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    caixa.setDefaultButton(sim);
    caixa.setEscapeButton(nao);
    caixa.exec();
    return caixa.clickedButton() == sim ? Resposta::Sim : Resposta::Nao;
  }
  QPushButton* ok = caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  caixa.setDefaultButton(ok);
  caixa.setEscapeButton(ok);
  caixa.exec();
  return Resposta::Ok;
}

QString DialogosQt::FiltroQt(const QString& filtro) {
  const QStringList partes = filtro.split(u'|');
  QStringList filtros;
  for (int i = 0; i + 1 < partes.size(); i += 2) {
    QString mascara = partes[i + 1];
    mascara.replace(u';', u' ');
    filtros << QStringLiteral("%1 (%2)").arg(partes[i], mascara);
  }
  return filtros.join(QStringLiteral(";;"));
}

std::optional<QString> DialogosQt::EscolherArquivo(const QString& filtro) {
  const QString arquivo =
      QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Abrir"), QString(), FiltroQt(filtro));
  if (arquivo.isEmpty()) return std::nullopt;
  return arquivo;
}

void DialogosQt::CopiarTexto(const QString& texto) { QApplication::clipboard()->setText(texto); }
