#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <climits>

#include "BancoTeste.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/TabelaStatus.h"
#include "panel/Temporizador.h"

namespace {

// The window is built without a configuration file (its message is
// recorded) and then pointed at the test's database.
class JanelaPainelTeste : public ::testing::Test {
 protected:
  JanelaPainelTeste() : painel(QStringLiteral("/nao/existe/Caminho.ini")) {
    FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
    banco.Configurar(painel.cnVelmora());
    dialogos.Limpar();
    grid = painel.findChild<QTableView*>(QStringLiteral("GridPainel"));
    edt = painel.findChild<QLineEdit*>(QStringLiteral("edtIntervalo"));
    lblAtualizado = painel.findChild<QLabel*>(QStringLiteral("lblAtualizado"));
    ocupado = painel.findChild<QLabel*>(QStringLiteral("lblAtualizandoPainel"));
    timer = painel.findChild<Temporizador*>(QStringLiteral("Timer"));
  }

  void Maquinas(int quantas) {
    banco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Loja')"));
    for (int i = 1; i <= quantas; ++i)
      banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, QTDREGRECEB) VALUES ('01', 'M%1', %1)")
                         .arg(i));
  }

  QString Celula(int linha, int coluna) { return grid->model()->index(linha, coluna).data().toString(); }

  // Shows the window and waits until it has the keyboard.
  bool Mostrar() {
    painel.show();
    painel.activateWindow();
    return QTest::qWaitForWindowActive(&painel);
  }

  void SairDoEdit(const QString& texto) {
    edt->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edt->hasFocus(); }));
    edt->setText(texto);
    QTest::keyClick(edt, Qt::Key_Tab);
    QCoreApplication::processEvents();
  }

  BancoTeste banco;
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  TFPainel painel;
  QTableView* grid = nullptr;
  QLineEdit* edt = nullptr;
  QLabel* lblAtualizado = nullptr;
  QLabel* ocupado = nullptr;
  Temporizador* timer = nullptr;
};

TEST_F(JanelaPainelTeste, AtualizarAgoraAvisoCarimboEFalha) {
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Intervalo(), 15000u);
  EXPECT_TRUE(timer->Ativo());
  auto* botao = painel.findChild<QPushButton*>(QStringLiteral("btAtualizar"));

  // A queue column narrower than some machine identifiers: the queue count
  // of such a machine fails in the database. Set up before anything is
  // prepared on the table.
  banco.Executar(QStringLiteral("DROP TABLE FILAINTEGOFFLINE"));
  banco.Executar(QStringLiteral("CREATE TABLE FILAINTEGOFFLINE (ID INTEGER, CODEMPRESA VARCHAR(3), MAQUINA VARCHAR(2), "
                                "STATUS INTEGER)"));

  // No machine: empty grid, the stamp not renewed.
  QTest::mouseClick(botao, Qt::LeftButton);
  EXPECT_EQ(grid->model()->rowCount(), 0);
  EXPECT_EQ(lblAtualizado->text(), QStringLiteral("Atualizado em:"));
  EXPECT_TRUE(dialogos.Caixas().isEmpty());

  // The busy notice and the hourglass are up when the first statement runs,
  // and gone afterwards; the timer is off meanwhile and on again after.
  Maquinas(3);
  bool avisoVisivel = false, ampulheta = false, timerDesligado = false;
  painel.cnVelmora().SetObservador([&](const QString& sql) {
    if (sql != Catalogo::StatusMaquinas()) return;
    avisoVisivel = !ocupado->isHidden();
    ampulheta = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    timerDesligado = !timer->Ativo();
  });
  const quint64 periodos = timer->PeriodosIniciados();
  QTest::mouseClick(botao, Qt::LeftButton);
  EXPECT_TRUE(avisoVisivel);
  EXPECT_TRUE(ampulheta);
  EXPECT_TRUE(timerDesligado);
  EXPECT_TRUE(ocupado->isHidden());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(timer->Ativo());
  EXPECT_EQ(timer->PeriodosIniciados(), periodos + 1) << "a full new period after the refresh";
  ASSERT_EQ(grid->model()->rowCount(), 3);
  EXPECT_EQ(Celula(0, 0), QStringLiteral("01 - Loja"));
  EXPECT_EQ(Celula(2, ColunaGrid::IndiceDe(CampoStatus::QTDREGRECEB)), QStringLiteral("3"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Informações atualizadas em \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                  .match(lblAtualizado->text())
                  .hasMatch())
      << lblAtualizado->text().toStdString();

  // A failing refresh reaches the error box; the rows built so far stay and
  // the stamp keeps its time (the wait makes a renewed stamp tell).
  const QString carimbo = lblAtualizado->text();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !carimbo.endsWith(FormatoDataHora::Carimbo(QDateTime::currentDateTime())); }));
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'M10X')"));
  QTest::mouseClick(botao, Qt::LeftButton);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.contains(QStringLiteral("truncation"))) << dialogos.Textos()[0].toStdString();
  ASSERT_EQ(grid->model()->rowCount(), 2) << "M1 and the unfinished M10X stay";
  EXPECT_EQ(Celula(0, ColunaGrid::IndiceDe(CampoStatus::STATUSERRO)), QStringLiteral("Não"));
  EXPECT_EQ(Celula(1, ColunaGrid::IndiceDe(CampoStatus::STATUSERRO)), QString());
  EXPECT_EQ(lblAtualizado->text(), carimbo);
  EXPECT_TRUE(ocupado->isHidden());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(timer->Ativo()) << "the next tick tries again";
}

TEST_F(JanelaPainelTeste, PedidoDuranteOAvisoNaoSeIntercala) {
  Maquinas(2);
  QStringList instrucoes;
  painel.cnVelmora().SetObservador([&](const QString& sql) {
    instrucoes << (sql == Catalogo::StatusMaquinas() ? "1" : sql == Catalogo::RegistrosEnviar() ? "2" : "3");
  });
  // Requests already waiting when the busy notice is painted: a click and a
  // tick. They find the refresh under way and leave it and the timer alone.
  auto* botao = painel.findChild<QPushButton*>(QStringLiteral("btAtualizar"));
  QMetaObject::invokeMethod(botao, &QPushButton::click, Qt::QueuedConnection);
  QMetaObject::invokeMethod(timer, &Temporizador::Disparou, Qt::QueuedConnection);
  const quint64 periodos = timer->PeriodosIniciados();
  painel.btAtualizarClick();
  EXPECT_EQ(instrucoes, (QStringList{"1", "2", "3", "2", "3"}));
  EXPECT_EQ(timer->PeriodosIniciados(), periodos + 1);
  EXPECT_TRUE(timer->Ativo());
  EXPECT_TRUE(dialogos.Caixas().isEmpty());
}

TEST_F(JanelaPainelTeste, IntervaloEColunaMaquinaLidosDoBanco) {
  banco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', 250)"));
  banco.Executar(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES ('s')"));
  painel.CarregarIntervalo();
  EXPECT_EQ(edt->text(), QStringLiteral("99"));
  EXPECT_EQ(timer->Intervalo(), 15000u) << "only the edit is filled";
  painel.ConfigurarColunaMaquina();
  EXPECT_TRUE(grid->isColumnHidden(ColunaGrid::kMaquinaEcf));

  banco.Executar(QStringLiteral("UPDATE PARADIV SET CAMPOINTEGER = -5"));
  banco.Executar(QStringLiteral("UPDATE PARAWEB SET UTILIZAINTEGWEBSERVICE = 'S'"));
  painel.CarregarIntervalo();
  EXPECT_EQ(edt->text(), QStringLiteral("15"));
  painel.ConfigurarColunaMaquina();
  EXPECT_FALSE(grid->isColumnHidden(ColunaGrid::kMaquinaEcf));
  EXPECT_EQ(grid->model()->headerData(ColunaGrid::kMaquinaEcf, Qt::Horizontal).toString(),
            QStringLiteral("Maq. ECF"));

  // Once shown it stays shown.
  banco.Executar(QStringLiteral("DELETE FROM PARAWEB"));
  painel.ConfigurarColunaMaquina();
  EXPECT_FALSE(grid->isColumnHidden(ColunaGrid::kMaquinaEcf));
}

TEST_F(JanelaPainelTeste, SairDoIntervaloAplicaOPeriodo) {
  Maquinas(1);
  ASSERT_TRUE(Mostrar());
  ASSERT_EQ(grid->model()->rowCount(), 1) << "the first refresh when shown";
  dialogos.Limpar();

  SairDoEdit(QStringLiteral("5"));
  EXPECT_EQ(timer->Intervalo(), 5000u);
  EXPECT_TRUE(timer->Armado());

  // "0" stops the automatic refresh; the button still refreshes.
  SairDoEdit(QStringLiteral("0"));
  EXPECT_EQ(timer->Intervalo(), 0u);
  EXPECT_TRUE(timer->Ativo());
  EXPECT_FALSE(timer->Armado());
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'M9')"));
  QTest::mouseClick(painel.findChild<QPushButton*>(QStringLiteral("btAtualizar")), Qt::LeftButton);
  EXPECT_EQ(grid->model()->rowCount(), 2);
  EXPECT_FALSE(timer->Armado());

  // Two letters: the message each time the edit is left, the previous
  // period in force, the text left as typed.
  SairDoEdit(QStringLiteral("ab"));
  SairDoEdit(QStringLiteral("ab"));
  EXPECT_EQ(dialogos.Textos(), (QStringList{QStringLiteral("'ab' is not a valid integer value"),
                                            QStringLiteral("'ab' is not a valid integer value")}));
  EXPECT_EQ(edt->text(), QStringLiteral("ab"));
  EXPECT_EQ(timer->Intervalo(), 0u);
  EXPECT_TRUE(timer->Ativo());
  SairDoEdit(QString());
  EXPECT_EQ(dialogos.Textos().last(), QStringLiteral("'' is not a valid integer value"));

  // A positive number starts it again; a negative one gives a period too
  // long to matter, never a short one.
  SairDoEdit(QStringLiteral("7"));
  EXPECT_TRUE(timer->Armado());
  EXPECT_EQ(timer->Espera(), 7000);
  SairDoEdit(QStringLiteral("-5"));
  EXPECT_EQ(timer->Intervalo(), 4294962296u);
  EXPECT_EQ(timer->Espera(), INT_MAX);
  SairDoEdit(QStringLiteral("$A"));
  EXPECT_EQ(timer->Intervalo(), 10000u);
  EXPECT_EQ(dialogos.Caixas().size(), 3);
}

TEST_F(JanelaPainelTeste, OTimerAtualizaSozinho) {
  Maquinas(2);
  ASSERT_TRUE(Mostrar());
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'M3')"));
  SairDoEdit(QStringLiteral("1"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid->model()->rowCount() == 3; }, 10000));
  EXPECT_TRUE(timer->Ativo());
  EXPECT_TRUE(dialogos.Caixas().isEmpty());
}

}  // namespace
