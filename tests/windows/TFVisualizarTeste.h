#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "BancoTeste.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "panel/FormatoDataHora.h"
#include "windows/TFVisualizar.h"

// The error viewer on a test database: the main window is built without a
// configuration file (its message is dropped) and pointed at the database;
// the viewer is opened for branch "01", machine "M1", shown non-modally.
class TFVisualizarTeste : public ::testing::Test {
 protected:
  TFVisualizarTeste() : painel(QStringLiteral("/nao/existe/Caminho.ini")) {
    FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
    banco.Configurar(painel.cnVelmora());
    dialogos.Limpar();
  }

  ~TFVisualizarTeste() override {
    delete janela.data();
    Liberar();
  }

  // Frees the windows closed meanwhile.
  static void Liberar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  void Erro(const QString& empresa, const QString& maquina, int id, const QString& data, const QString& msg,
            const QString& conferido) {
    banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, "
                                  "CONFERIDO) VALUES ('%1', '%2', %3, %4, %5, %6)")
                       .arg(empresa, maquina, QString::number(id), Literal(data), Literal(msg), Literal(conferido)));
  }

  static QString Literal(const QString& valor) {
    if (valor.isNull()) return QStringLiteral("NULL");
    QString texto = valor;
    return u'\'' + texto.replace(u'\'', QStringLiteral("''")) + u'\'';
  }

  // CONFERIDO as stored, "<null>" for NULL, "<sem linha>" when the row is gone.
  QString Conferido(int id, const QString& empresa = QStringLiteral("01"), const QString& maquina = QStringLiteral("M1")) {
    const QString onde = QStringLiteral(" FROM INTEGERRO WHERE CODEMPRESA = '%1' AND MAQUINAECF = '%2' AND IDINTEGERRO = %3")
                             .arg(empresa, maquina)
                             .arg(id);
    if (banco.Valor(QStringLiteral("SELECT COUNT(*)") + onde) == QStringLiteral("0")) return QStringLiteral("<sem linha>");
    if (banco.Valor(QStringLiteral("SELECT COUNT(*)") + onde + QStringLiteral(" AND CONFERIDO IS NULL")) ==
        QStringLiteral("1"))
      return QStringLiteral("<null>");
    return banco.Valor(QStringLiteral("SELECT CONFERIDO") + onde);
  }

  TFVisualizar* Abrir(const QString& empresa = QStringLiteral("01"), const QString& maquina = QStringLiteral("M1")) {
    janela = new TFVisualizar();
    janela->FCodEmpresa = empresa;
    janela->FMaquinaECF = maquina;
    janela->lblNomeEmpresa->setText(empresa + QStringLiteral(" - Loja Centro"));
    janela->show();
    grid = janela->findChild<QTableView*>(QStringLiteral("GridVisualizar"));
    return janela;
  }

  template <typename T>
  T* Controle(const char* nome) {
    T* controle = janela->findChild<T*>(QLatin1String(nome));
    EXPECT_NE(controle, nullptr) << nome;
    return controle;
  }

  int Linhas() const { return grid->model()->rowCount(); }
  QString Celula(int linha, int coluna) const { return grid->model()->index(linha, coluna).data().toString(); }
  // The grid's letters of "Conferido?", top to bottom.
  QStringList Flags() const {
    QStringList flags;
    for (int i = 0; i < Linhas(); ++i) flags << Celula(i, 0);
    return flags;
  }

  static void Clicar(QWidget* alvo) { QTest::mouseClick(alvo, Qt::LeftButton); }
  // A double click on a cell (a row of -1: below the rows).
  void DuploClique(int linha, int coluna) {
    const QPoint ponto = linha < 0 ? QPoint(5, grid->viewport()->height() - 3)
                                   : grid->visualRect(grid->model()->index(linha, coluna)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, ponto);
  }

  BancoTeste banco;
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  TFPainel painel;
  QPointer<TFVisualizar> janela;
  QTableView* grid = nullptr;
};
