#include "TFVisualizarTeste.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "windows/MemoMensagem.h"
#include "windows/TFMensagem.h"

namespace {

TEST_F(TFVisualizarTeste, ControlesETempoDeVida) {
  Abrir();
  EXPECT_EQ(TFVisualizar::Instancia(), janela.data());
  EXPECT_EQ(janela->windowTitle(), QStringLiteral("Visualizar Erros"));
  EXPECT_EQ(janela->size(), QSize(893, 389)) << "outer 901 x 423 with the frame";
  const Qt::WindowFlags flags = janela->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
  EXPECT_NE(janela->minimumSize(), janela->maximumSize()) << "resizable";

  auto* filial = Controle<QLabel>("Label1");
  EXPECT_EQ(filial->text(), QStringLiteral("Filial:"));
  EXPECT_TRUE(filial->font().bold());
  EXPECT_EQ(Controle<QLabel>("lblNomeEmpresa")->width(), 245);
  EXPECT_EQ(Controle<QLabel>("lblNomeEmpresa")->text(), QStringLiteral("01 - Loja Centro"));
  EXPECT_EQ(Controle<QGroupBox>("Visualizar")->title(), QStringLiteral(" Visualizar "));
  auto* naoConferidos = Controle<QRadioButton>("VisualizarNaoConferidos");
  auto* todos = Controle<QRadioButton>("VisualizarTodos");
  EXPECT_EQ(naoConferidos->text(), QStringLiteral("Não conferidos"));
  EXPECT_EQ(todos->text(), QStringLiteral("Todos"));
  EXPECT_TRUE(naoConferidos->isChecked());
  EXPECT_LT(naoConferidos->x(), todos->x()) << "side by side";
  EXPECT_EQ(naoConferidos->y(), todos->y());
  EXPECT_EQ(Controle<QCheckBox>("MarcarTodos")->text(), QStringLiteral("Marcar todos"));
  EXPECT_FALSE(Controle<QCheckBox>("MarcarTodos")->isChecked());
  auto* excluir = Controle<QPushButton>("btExcluir");
  auto* fechar = Controle<QPushButton>("btFechar");
  EXPECT_EQ(excluir->text(), QStringLiteral("&Excluir Erros"));
  EXPECT_EQ(fechar->text(), QStringLiteral("&Fechar"));
  EXPECT_FALSE(excluir->icon().isNull());
  EXPECT_FALSE(fechar->icon().isNull());

  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->height(), 352);
  EXPECT_EQ(grid->geometry().bottom(), janela->height() - 1);
  EXPECT_EQ(grid->width(), janela->width());
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(grid->horizontalHeader()->isVisible());
  EXPECT_TRUE(grid->verticalHeader()->isVisible()) << "row indicator";
  const QStringList titulos = {"Conferido?", "Data", "Mensagem"};
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), titulos[c]);
  EXPECT_EQ(grid->columnWidth(1), 120);
  EXPECT_EQ(grid->columnWidth(2), 691);

  // Stretched: "Fechar" keeps its distance to the right edge, the grid its
  // place along the bottom.
  const int margem = janela->width() - fechar->geometry().right();
  janela->resize(1100, 500);
  EXPECT_EQ(janela->width() - fechar->geometry().right(), margem);
  EXPECT_EQ(grid->geometry().bottom(), 499);
  EXPECT_EQ(grid->width(), 1100);

  // Esc leaves it open; "Fechar" closes and frees it.
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_TRUE(janela->isVisible());
  Clicar(fechar);
  Liberar();
  EXPECT_TRUE(janela.isNull());
  EXPECT_EQ(TFVisualizar::Instancia(), nullptr);

  // Every opening is a new window in its design state.
  Abrir();
  EXPECT_EQ(TFVisualizar::Instancia(), janela.data());
  EXPECT_TRUE(Controle<QRadioButton>("VisualizarNaoConferidos")->isChecked());
  EXPECT_EQ(janela->findChild<ConsultaSql*>(QStringLiteral("sqlIntegErro"))->Sql(), Catalogo::ErrosNaoConferidos());
  janela->close();
  Liberar();
  EXPECT_TRUE(janela.isNull());
  EXPECT_EQ(TFVisualizar::Instancia(), nullptr);
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(TFVisualizarTeste, ListaConferidosETodos) {
  Erro("01", "M1", 1, "2024-03-01 10:00:00", "primeiro", "N");
  Erro("01", "M1", 2, "2024-03-03 08:30:15", "mais novo", "N");
  Erro("01", "M1", 3, "2024-03-02 00:00:00", "conferido", "S");
  Erro("01", "M1", 4, "2024-02-01 09:00:00", QString(), QString());
  Erro("01", "M1", 5, "2024-02-02 09:00:00", "em branco", "");
  Erro("01", "M1", 6, QString(), "sem data", "N");
  Erro("01", "M2", 7, "2024-03-05 10:00:00", "outra maquina", "N");
  Erro("02", "M1", 8, "2024-03-05 10:00:00", "outra filial", "N");

  Abrir();
  auto* sql = janela->findChild<ConsultaSql*>(QStringLiteral("sqlIntegErro"));
  // Open errors of this branch and machine, newest first (no date last).
  ASSERT_EQ(Linhas(), 3);
  EXPECT_EQ(Celula(0, 2), QStringLiteral("mais novo"));
  EXPECT_EQ(Celula(0, 1), QStringLiteral("03/03/2024 08:30:15"));
  EXPECT_EQ(Celula(1, 2), QStringLiteral("primeiro"));
  EXPECT_EQ(Celula(2, 2), QStringLiteral("sem data"));
  EXPECT_EQ(Celula(2, 1), QString());
  EXPECT_EQ(Flags(), QStringList({"N", "N", "N"}));

  // "Todos": every error of the machine, whatever the flag.
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  EXPECT_EQ(sql->Sql(), Catalogo::ErrosTodos());
  ASSERT_EQ(Linhas(), 6);
  EXPECT_EQ(Celula(0, 2), QStringLiteral("mais novo"));
  EXPECT_EQ(Celula(1, 2), QStringLiteral("conferido"));
  EXPECT_EQ(Celula(1, 1), QStringLiteral("02/03/2024")) << "midnight shows the date alone";
  EXPECT_EQ(Celula(2, 2), QStringLiteral("primeiro"));
  EXPECT_EQ(Celula(3, 2), QStringLiteral("em branco"));
  EXPECT_EQ(Celula(4, 2), QString()) << "null text shows nothing";
  EXPECT_EQ(Celula(4, 0), QString());
  EXPECT_EQ(Celula(3, 0), QStringLiteral(" ")) << "CHAR(1) keeps its blank";

  // Acknowledged meanwhile by someone else: back to "Não conferidos" loads
  // again and it is gone.
  banco.Executar(QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'S' WHERE IDINTEGERRO = 1"));
  Clicar(Controle<QRadioButton>("VisualizarNaoConferidos"));
  EXPECT_EQ(sql->Sql(), Catalogo::ErrosNaoConferidos());
  ASSERT_EQ(Linhas(), 2);
  EXPECT_EQ(Celula(0, 2), QStringLiteral("mais novo"));
  EXPECT_EQ(Celula(1, 2), QStringLiteral("sem data"));
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(TFVisualizarTeste, MensagemCortadaJanelaDoTextoInteiro) {
  const QString longo = QStringLiteral("Violação de chave € ") + QString(300, u'x') + QStringLiteral("\r\nfim");
  const QString enorme = QString(100 * 32000, u'y') + QStringLiteral("ÿ");
  Erro("01", "M1", 1, "2024-03-03 10:00:00", longo, "N");
  // Megabytes of text, built by the server.
  Erro("01", "M1", 2, "2024-03-02 10:00:00", "", "N");
  banco.Executar(QStringLiteral(
      "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 100) DO BEGIN UPDATE INTEGERRO SET MSGERRO = "
      "MSGERRO || RPAD('', 32000, 'y') WHERE IDINTEGERRO = 2; I = I + 1; END END"));
  banco.Executar(QStringLiteral("UPDATE INTEGERRO SET MSGERRO = MSGERRO || 'ÿ' WHERE IDINTEGERRO = 2"));
  Erro("01", "M1", 3, "2024-03-01 10:00:00", "", "N");
  Erro("01", "M1", 4, "2024-02-01 10:00:00", QString(250, u'z'), "N");
  const QString linhas = QStringLiteral("linha 1\r\nlinha 2\nlinha 3\rfim");
  Erro("01", "M1", 5, "2024-01-01 10:00:00", linhas, "N");
  Abrir();
  ASSERT_EQ(Linhas(), 5);
  EXPECT_EQ(Celula(0, 2), longo.left(250));
  EXPECT_EQ(Celula(1, 2).size(), 250);
  EXPECT_EQ(Celula(2, 2), QString());
  EXPECT_EQ(Celula(3, 2), QString(250, u'z'));
  // Line breaks show as blanks: the cell keeps its one line.
  EXPECT_EQ(Celula(4, 2), QStringLiteral("linha 1  linha 2 linha 3 fim"));

  // The whole text in the message window, shown modally and freed after.
  auto lerMensagem = [&](int linha) {
    QString lido = QStringLiteral("<nada aberto>");
    bool modal = false;
    QTimer::singleShot(0, [&] {
      TFMensagem* mensagem = TFMensagem::Instancia();
      if (!mensagem) return;
      lido = mensagem->Memo->Texto();
      modal = mensagem->isModal();
      Clicar(mensagem->BitBtn1);
    });
    DuploClique(linha, 2);
    QCoreApplication::processEvents();
    Liberar();
    EXPECT_EQ(TFMensagem::Instancia(), nullptr);
    EXPECT_TRUE(modal || lido == QStringLiteral("<nada aberto>"));
    return lido;
  };
  EXPECT_EQ(lerMensagem(0), longo);
  EXPECT_EQ(lerMensagem(1), enorme);
  EXPECT_EQ(lerMensagem(2), QStringLiteral("<nada aberto>")) << "an empty text opens nothing";
  EXPECT_EQ(lerMensagem(4), linhas);

  // "Data" does nothing; nothing was written either.
  EXPECT_EQ(lerMensagem(-1), QStringLiteral("<nada aberto>"));
  DuploClique(0, 1);
  EXPECT_EQ(Flags(), QStringList({"N", "N", "N", "N", "N"}));
  EXPECT_EQ(banco.Valor("SELECT COUNT(*) FROM INTEGERRO WHERE CONFERIDO = 'N'"), QStringLiteral("5"));
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(TFVisualizarTeste, VistoVerdeSoNoConferido) {
  Erro("01", "M1", 1, "2024-03-03 10:00:00", "a", "S");
  Erro("01", "M1", 2, "2024-03-02 10:00:00", "b", "N");
  Erro("01", "M1", 3, "2024-03-01 10:00:00", "c", "");
  Abrir();
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  ASSERT_EQ(Linhas(), 3);
  // The current cell sits on "Data", so "Conferido?" is painted unselected.
  grid->setCurrentIndex(grid->model()->index(2, 1));
  const QImage imagem = grid->viewport()->grab().toImage();
  const QColor verde(0, 160, 0);

  auto verdes = [&](int linha) {
    const QRect celula = grid->visualRect(grid->model()->index(linha, 0)).adjusted(0, 0, 0, -1);
    int quantos = 0;
    QSet<QRgb> cores;
    for (int y = celula.top(); y <= celula.bottom(); ++y)
      for (int x = celula.left(); x <= celula.right(); ++x) {
        const QColor cor = imagem.pixelColor(x, y);
        cores.insert(cor.rgb());
        if (cor == verde) {
          ++quantos;
          // Inside the 16 x 16 image placed at (left + 10, top + 1).
          EXPECT_TRUE(QRect(celula.left() + 10, celula.top() + 1, 16, 16).contains(x, y)) << x << "," << y;
        }
      }
    return std::make_pair(quantos, cores.size());
  };
  EXPECT_GT(verdes(0).first, 10);
  // The letter is covered: one colour, the cell's background.
  EXPECT_EQ(verdes(1), std::make_pair(0, qsizetype(1)));
  EXPECT_EQ(verdes(2), std::make_pair(0, qsizetype(1)));
  EXPECT_EQ(imagem.pixelColor(grid->visualRect(grid->model()->index(1, 0)).center()),
            grid->palette().color(QPalette::Base));

  // The selected cell keeps the highlight behind the tick.
  grid->setCurrentIndex(grid->model()->index(0, 0));
  const QImage selecionada = grid->viewport()->grab().toImage();
  const QRect celula = grid->visualRect(grid->model()->index(0, 0));
  const QColor fundo = selecionada.pixelColor(celula.left() + 2, celula.top() + 2);
  EXPECT_NE(fundo, grid->palette().color(QPalette::Base));
  EXPECT_EQ(selecionada.pixelColor(celula.right() - 2, celula.top() + 2), fundo);
}

TEST_F(TFVisualizarTeste, FalhaAoCarregarVaiParaOTratador) {
  Erro("01", "M1", 1, "2024-03-03 10:00:00", "a", "N");
  painel.cnVelmora().Fechar();
  painel.cnVelmora().SetParam(QStringLiteral("Database"), banco.Pasta() + QStringLiteral("/nao-existe.fdb"));
  Abrir();
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.contains(QStringLiteral("nao-existe.fdb")))
      << dialogos.Textos()[0].toStdString();
  EXPECT_TRUE(janela->isVisible());
  EXPECT_EQ(Linhas(), 0);

  // Back on the database, the next load works in the same window.
  banco.Configurar(painel.cnVelmora());
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  EXPECT_EQ(Linhas(), 1);
}

}  // namespace
