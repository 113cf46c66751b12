#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "BancoTeste.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/TabelaStatus.h"
#include "panel/Temporizador.h"

inline void PrintTo(const QString& texto, std::ostream* saida) { *saida << '"' << texto.toStdString() << '"'; }

// Acts on the next modal window from inside its own event loop, the way the
// operator would while the opener waits for it to close. Whatever the action
// leaves open is closed, so a failing test cannot hang in the window.
class QuandoModal {
 public:
  explicit QuandoModal(std::function<void(QWidget*)> acao) : FAcao(std::move(acao)) {
    FTimer.setInterval(5);
    QObject::connect(&FTimer, &QTimer::timeout, [this] {
      QPointer<QWidget> janela = QApplication::activeModalWidget();
      if (!janela) return;
      FTimer.stop();
      ++FAberturas;
      FAcao(janela);
      if (janela && janela->isVisible()) janela->close();
    });
    FTimer.start();
  }
  // Waits for the next window again (the same action).
  void Rearmar() { FTimer.start(); }
  int Aberturas() const { return FAberturas; }

 private:
  std::function<void(QWidget*)> FAcao;
  QTimer FTimer;
  int FAberturas = 0;
};

// The main window on a test database, built without a configuration file
// and pointed at the database; rows are loaded with btAtualizarClick.
class GradePainelTeste : public ::testing::Test {
 protected:
  GradePainelTeste() : painel(QStringLiteral("/nao/existe/Caminho.ini")) {
    FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
    banco.Configurar(painel.cnVelmora());
    dialogos.Limpar();
    grid = painel.findChild<QTableView*>(QStringLiteral("GridPainel"));
    timer = painel.findChild<Temporizador*>(QStringLiteral("Timer"));
  }

  ~GradePainelTeste() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  static int Coluna(CampoStatus campo) { return ColunaGrid::IndiceDe(campo); }

  void Filial(const QString& codigo, const QString& nome) {
    banco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('%1', '%2')").arg(codigo, nome));
  }

  // Values are SQL literals ("NULL" for none).
  void Maquina(const QString& filial, const QString& ecf, const QString& intervalo = QStringLiteral("NULL"),
               int receber = 0, const QString& ultReceb = QStringLiteral("NULL")) {
    banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB) "
                                  "VALUES ('%1', '%2', %3, %4, %5)")
                       .arg(filial, ecf, intervalo)
                       .arg(receber)
                       .arg(ultReceb));
  }

  void Erro(const QString& filial, const QString& ecf, int id, const QString& conferido = QStringLiteral("N")) {
    banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, "
                                  "CONFERIDO) VALUES ('%1', '%2', %3, '2026-03-01 10:00:00', 'falhou', '%4')")
                       .arg(filial, ecf)
                       .arg(id)
                       .arg(conferido));
  }

  // Records still to send to a machine: pending deliveries of its own.
  void AEnviar(const QString& filial, const QString& ecf, int quantos) {
    for (int i = 0; i < quantos; ++i)
      banco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) "
                                    "VALUES ('%1', '%2', %3, 'N')")
                         .arg(filial, ecf)
                         .arg(++FOrdem));
  }

  void Atualizar() { painel.btAtualizarClick(); }

  QString Celula(int linha, int coluna) const { return grid->model()->index(linha, coluna).data().toString(); }

  // "branch code/machine" of every grid row, top to bottom.
  QStringList Ordem() const {
    QStringList linhas;
    const TabelaStatus* tabela = painel.Filiais();
    for (int i = 0; i < grid->model()->rowCount(); ++i)
      linhas << tabela->LinhaExibida(i).CODEMPRESA.trimmed() + u'/' + tabela->LinhaExibida(i).MAQUINAECF;
    return linhas;
  }

  void ClicarTitulo(int coluna) {
    QHeaderView* titulos = grid->horizontalHeader();
    const QPoint ponto(titulos->sectionViewportPosition(coluna) + titulos->sectionSize(coluna) / 2,
                       titulos->height() / 2);
    QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {}, ponto);
  }

  QPoint Centro(int linha, int coluna) const { return grid->visualRect(grid->model()->index(linha, coluna)).center(); }

  void ClicarCelula(int linha, int coluna) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Centro(linha, coluna));
  }

  void DuploClique(int linha, int coluna) {
    ClicarCelula(linha, coluna);
    const QPoint ponto = Centro(linha, coluna);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, ponto);
  }

  // Shows the main window and waits until it has the keyboard.
  bool Mostrar() {
    painel.show();
    painel.activateWindow();
    return QTest::qWaitForWindowActive(&painel);
  }

  // The colour painted behind a cell, read away from its text.
  QColor Fundo(int linha, int coluna) const {
    const QImage imagem = grid->viewport()->grab().toImage();
    const QRect celula = grid->visualRect(grid->model()->index(linha, coluna));
    const bool direita = ColunaGrid::Todas().at(coluna).Alinhamento & Qt::AlignRight;
    const int x = direita ? celula.left() + 3 : celula.right() - 3;
    return imagem.pixelColor(x, celula.center().y());
  }

  // The statements the panel's connection runs from now on.
  QStringList& Observar() {
    painel.cnVelmora().SetObservador([this](const QString& sql) { FInstrucoes << sql; });
    return FInstrucoes;
  }

  BancoTeste banco;
  int FOrdem = 0;
  QStringList FInstrucoes;
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  TFPainel painel;
  QTableView* grid = nullptr;
  Temporizador* timer = nullptr;
};
