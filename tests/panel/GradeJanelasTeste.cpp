#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "GradePainelTeste.h"
#include "windows/TFUltRegSincro.h"
#include "windows/TFVisualizar.h"
#include "windows/TFVisualizarLog.h"

namespace {

// What an opener handed to its window, and the timer's state meanwhile.
struct Entrega {
  QString CodEmpresa, MaquinaEcf, NomeEmpresa;
  bool TimerAtivo = false;
  bool operator==(const Entrega&) const = default;
};

template <typename Janela>
Entrega Recebido(QWidget* modal, Temporizador* timer) {
  auto* janela = qobject_cast<Janela*>(modal);
  EXPECT_NE(janela, nullptr) << qPrintable(modal->objectName());
  if (!janela) return {};
  EXPECT_EQ(Janela::Instancia(), janela);
  return {janela->FCodEmpresa, janela->FMaquinaECF, janela->lblNomeEmpresa->text(), timer->Ativo()};
}

void PrintTo(const Entrega& e, std::ostream* os) {
  *os << qPrintable(e.CodEmpresa) << '/' << qPrintable(e.MaquinaEcf) << '/' << qPrintable(e.NomeEmpresa)
      << (e.TimerAtivo ? " timer on" : " timer off");
}

class GradeJanelasTeste : public GradePainelTeste {
 protected:
  // A key pressed where the keyboard is.
  static void TeclarNoFoco(Qt::Key tecla, Qt::KeyboardModifiers modificadores) {
    QWidget* foco = QApplication::focusWidget();
    ASSERT_NE(foco, nullptr);
    QTest::keyClick(foco, tecla, modificadores);
  }
  template <typename T>
  T* Controle(const char* nome) {
    T* controle = painel.findChild<T*>(QLatin1String(nome));
    EXPECT_NE(controle, nullptr) << nome;
    return controle;
  }
  const QColor laranja{241, 150, 14};
};

TEST_F(GradeJanelasTeste, LinhaComErroEmLaranjaAteSerConferida) {
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Filial(QStringLiteral("02"), QStringLiteral("Outra"));
  Maquina(QStringLiteral("01"), QStringLiteral("M1"));
  Maquina(QStringLiteral("02"), QStringLiteral("M2"));
  Erro(QStringLiteral("01"), QStringLiteral("M1"), 3, QStringLiteral("S"));
  Erro(QStringLiteral("02"), QStringLiteral("M2"), 1);
  Erro(QStringLiteral("02"), QStringLiteral("M2"), 2);
  ASSERT_TRUE(Mostrar());
  ASSERT_EQ(Ordem(), (QStringList{"01/M1", "02/M2"}));
  const int erro = Coluna(CampoStatus::STATUSERRO);
  EXPECT_EQ(Celula(1, erro), QStringLiteral("Sim"));

  Entrega entregue;
  QuandoModal modal([&](QWidget* janela) {
    entregue = Recebido<TFVisualizar>(janela, timer);
    // The operator acknowledges every error and closes the viewer.
    janela->findChild<QCheckBox*>(QStringLiteral("MarcarTodos"))->click();
    janela->findChild<QPushButton*>(QStringLiteral("btFechar"))->click();
  });

  // A click on any other cell only selects it.
  ClicarCelula(1, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(modal.Aberturas(), 0);
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 0));

  // Every cell of the row with open errors is orange, the selected one too;
  // the other row keeps the grid's colours.
  // Clicked as the operator clicks, the grid has the keyboard, and the style
  // draws the selected cell of a focused grid in a shade of the highlight.
  ASSERT_TRUE(grid->hasFocus());
  for (int c = 0; c < grid->model()->columnCount(); ++c) {
    if (grid->isColumnHidden(c)) continue;
    if (c == 0) {
      EXPECT_LE(qAbs(Fundo(1, c).hue() - laranja.hue()), 2) << "column " << c;
    } else {
      EXPECT_EQ(Fundo(1, c), laranja) << "column " << c;
    }
    EXPECT_NE(Fundo(0, c), laranja) << "column " << c;
  }
  EXPECT_EQ(Fundo(0, 0), grid->palette().color(QPalette::Base));

  // A click on its "Erro?" cell opens the viewer for that row, with the
  // timer off until it closes.
  ClicarCelula(1, erro);
  ASSERT_EQ(modal.Aberturas(), 1);
  EXPECT_EQ(entregue, (Entrega{"02", "M2", "02 - Outra", false}));
  EXPECT_EQ(banco.Valor(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO WHERE CONFERIDO = 'N'")), QStringLiteral("0"));

  // Closing it refreshes the grid: the row is drawn normally again, the
  // "Erro?" column is selected and the timer runs.
  EXPECT_EQ(Celula(1, erro), QStringLiteral("Não"));
  for (int c : {0, erro, Coluna(CampoStatus::QTDREGFILA)}) EXPECT_NE(Fundo(1, c), laranja) << "column " << c;
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, erro));
  EXPECT_TRUE(timer->Ativo());
  EXPECT_TRUE(timer->Armado());
  // Checked below, once the deferred deletions have run.
  (void)QTest::qWaitFor([] { return TFVisualizar::Instancia() == nullptr; }, 1000);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TFVisualizar::Instancia(), nullptr);
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(GradeJanelasTeste, CliqueDuploEBotaoAbremRegistrosDaLinha) {
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Filial(QStringLiteral("02"), QStringLiteral("Outra"));
  Maquina(QStringLiteral("02"), QStringLiteral("A1"));
  Maquina(QStringLiteral("01"), QStringLiteral("B1"));
  Maquina(QStringLiteral("01"), QStringLiteral("C1"));
  Atualizar();
  ClicarTitulo(Coluna(CampoStatus::NOME));
  ASSERT_EQ(Ordem(), (QStringList{"01/B1", "01/C1", "02/A1"}));
  QStringList& instrucoes = Observar();

  QList<Entrega> entregues;
  QList<QPointer<QWidget>> janelas;
  QStringList antesDeFechar;
  QuandoModal modal([&](QWidget* janela) {
    entregues << Recebido<TFUltRegSincro>(janela, timer);
    janelas << janela;
    antesDeFechar = instrucoes;
    janela->close();
  });

  // A double click on a cell of the sorted grid: the row under the mouse.
  DuploClique(1, Coluna(CampoStatus::ULTENVIO));
  ASSERT_EQ(modal.Aberturas(), 1);
  EXPECT_EQ(entregues.value(0), (Entrega{"01", "C1", "01 - Loja", false}));
  EXPECT_FALSE(antesDeFechar.contains(Catalogo::StatusMaquinas()));
  EXPECT_EQ(instrucoes.count(Catalogo::StatusMaquinas()), 1) << "one refresh after it closes";
  EXPECT_TRUE(timer->Ativo());

  // "&Reg. sincronizados" does the same for the current row, in a fresh
  // window: the first one is gone.
  modal.Rearmar();
  QTest::mouseClick(Controle<QPushButton>("btUltReg"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(modal.Aberturas(), 2);
  EXPECT_EQ(entregues.value(1), (Entrega{"01", "C1", "01 - Loja", false}));
  EXPECT_TRUE(janelas.value(0).isNull());
  EXPECT_TRUE(janelas.value(1).isNull());
  EXPECT_EQ(TFUltRegSincro::Instancia(), nullptr);
  EXPECT_TRUE(timer->Ativo());

  // With an empty grid the window gets empty texts.
  banco.Executar(QStringLiteral("DELETE FROM IGFMAQUINA"));
  Atualizar();
  ASSERT_EQ(grid->model()->rowCount(), 0);
  modal.Rearmar();
  QTest::mouseClick(Controle<QPushButton>("btUltReg"), Qt::LeftButton);
  ASSERT_EQ(modal.Aberturas(), 3);
  EXPECT_EQ(entregues.value(2), (Entrega{"", "", "", false}));
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(GradeJanelasTeste, TimerLigadoMesmoQuandoAAtualizacaoAposAJanelaFalha) {
  // A queue column narrower than some machine identifiers: counting such a
  // machine fails in the database. Set up before anything is prepared.
  banco.Executar(QStringLiteral("DROP TABLE FILAINTEGOFFLINE"));
  banco.Executar(QStringLiteral("CREATE TABLE FILAINTEGOFFLINE (ID INTEGER, CODEMPRESA VARCHAR(3), MAQUINA VARCHAR(2), "
                                "STATUS INTEGER)"));
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Maquina(QStringLiteral("01"), QStringLiteral("M1"));
  Erro(QStringLiteral("01"), QStringLiteral("M1"), 1);
  Atualizar();
  ASSERT_EQ(grid->model()->rowCount(), 1);

  bool timerDentro = true;
  QuandoModal modal([&](QWidget* janela) {
    timerDentro = timer->Ativo();
    banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'M10X')"));
    janela->close();
  });
  ClicarCelula(0, Coluna(CampoStatus::STATUSERRO));
  ASSERT_EQ(modal.Aberturas(), 1);
  EXPECT_FALSE(timerDentro);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.contains(QStringLiteral("truncation"))) << dialogos.Textos()[0].toStdString();
  EXPECT_TRUE(timer->Ativo()) << "on again before the failure went on";
  EXPECT_TRUE(timer->Armado());

  // The records viewer the same way.
  dialogos.Limpar();
  banco.Executar(QStringLiteral("DELETE FROM IGFMAQUINA WHERE MAQUINAECF = 'M10X'"));
  Atualizar();
  ASSERT_TRUE(dialogos.Caixas().isEmpty());
  modal.Rearmar();
  QTest::mouseClick(Controle<QPushButton>("btUltReg"), Qt::LeftButton);
  ASSERT_EQ(modal.Aberturas(), 2);
  EXPECT_FALSE(timerDentro);
  ASSERT_FALSE(dialogos.Caixas().isEmpty());
  EXPECT_TRUE(dialogos.Caixas().last().Texto.contains(QStringLiteral("truncation"))) << dialogos.Textos().join(u'\n').toStdString();
  EXPECT_TRUE(timer->Ativo());
}

TEST_F(GradeJanelasTeste, VisualizarLogNaoMexeNoTimerNemAtualiza) {
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Maquina(QStringLiteral("01"), QStringLiteral("M1"));
  Atualizar();
  QStringList& instrucoes = Observar();
  const quint64 periodos = timer->PeriodosIniciados();

  QList<QPointer<QWidget>> janelas;
  bool armadoDentro = false;
  QuandoModal modal([&](QWidget* janela) {
    EXPECT_NE(qobject_cast<TFVisualizarLog*>(janela), nullptr);
    EXPECT_EQ(TFVisualizarLog::Instancia(), janela);
    janelas << janela;
    armadoDentro = timer->Ativo() && timer->Armado();
    janela->close();
  });
  QTest::mouseClick(Controle<QPushButton>("btVisualizar"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  modal.Rearmar();
  QTest::mouseClick(Controle<QPushButton>("btVisualizar"), Qt::LeftButton);
  ASSERT_EQ(modal.Aberturas(), 2);
  EXPECT_TRUE(armadoDentro) << "it keeps ticking behind the window";
  EXPECT_TRUE(janelas.value(0).isNull()) << "every opening builds a new window";
  EXPECT_EQ(timer->PeriodosIniciados(), periodos);
  EXPECT_TRUE(instrucoes.isEmpty()) << instrucoes.join(u'\n').toStdString();
}

TEST_F(GradeJanelasTeste, TecladoChegaAGradeAbreErrosEOrdena) {
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Filial(QStringLiteral("02"), QStringLiteral("Outra"));
  Maquina(QStringLiteral("01"), QStringLiteral("M1"));
  Maquina(QStringLiteral("02"), QStringLiteral("M2"));
  Erro(QStringLiteral("01"), QStringLiteral("M1"), 1);
  ASSERT_TRUE(Mostrar());
  ASSERT_EQ(Ordem(), (QStringList{"01/M1", "02/M2"}));
  const int erro = Coluna(CampoStatus::STATUSERRO);

  QList<Entrega> entregues;
  QuandoModal modal([&](QWidget* janela) { entregues << Recebido<TFVisualizar>(janela, timer); });

  // Tab never reaches the grid; Alt+G does, on the first row.
  TeclarNoFoco(Qt::Key_G, Qt::AltModifier);
  ASSERT_TRUE(grid->hasFocus());
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 0));
  // Ctrl+Enter on another column opens nothing.
  QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
  QCoreApplication::processEvents();
  EXPECT_EQ(modal.Aberturas(), 0);
  // The arrows pass over the hidden machine column to "Erro?"; a plain
  // Enter moves on to the next control, as everywhere in the window.
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, erro));
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_FALSE(grid->hasFocus());
  EXPECT_EQ(modal.Aberturas(), 0);

  TeclarNoFoco(Qt::Key_G, Qt::AltModifier);
  ASSERT_TRUE(grid->hasFocus());
  QTest::keyClick(grid, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
  ASSERT_EQ(modal.Aberturas(), 1);
  EXPECT_EQ(entregues.value(0), (Entrega{"01", "M1", "01 - Loja", false}));
  EXPECT_TRUE(timer->Ativo());
  // The keyboard is back in the main window, on the grid it left.
  ASSERT_TRUE(QTest::qWaitFor([&] { return painel.isActiveWindow(); }));
  EXPECT_EQ(QApplication::focusWidget(), grid);

  // Ctrl+O sorts by the current column: "Não" before "Sim".
  TeclarNoFoco(Qt::Key_G, Qt::AltModifier);
  ASSERT_TRUE(grid->hasFocus());
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, erro));
  QTest::keyClick(grid, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Ordem(), (QStringList{"02/M2", "01/M1"}));
}

}  // namespace
