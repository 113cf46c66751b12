#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "BancoTeste.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "windows/MontagemChave.h"
#include "windows/TFUltRegSincro.h"

namespace {

// The viewer on a test database for branch "01", machine "M1".
class TFUltRegSincroTeste : public ::testing::Test {
 protected:
  TFUltRegSincroTeste() : painel(QStringLiteral("/nao/existe/Caminho.ini")) {
    banco.Configurar(painel.cnVelmora());
    dialogos.Limpar();
  }
  ~TFUltRegSincroTeste() override {
    delete janela.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void Abrir() {
    janela = new TFUltRegSincro();
    janela->FCodEmpresa = QStringLiteral("01");
    janela->FMaquinaECF = QStringLiteral("M1");
    janela->lblNomeEmpresa->setText(QStringLiteral("01 - Loja Centro"));
    janela->show();
  }
  QTableView* Grid(const char* nome) { return janela->findChild<QTableView*>(QLatin1String(nome)); }
  // How far from the left of its section a column's title starts; -1 when
  // none of it is in sight.
  int InicioTitulo(const char* grid, int coluna) {
    QTableView* tabela = Grid(grid);
    auto* paginas = janela->findChild<QTabWidget*>("PageControl");
    paginas->setCurrentWidget(tabela->parentWidget());
    QCoreApplication::processEvents();
    QHeaderView* titulos = tabela->horizontalHeader();
    const QImage imagem = titulos->viewport()->grab().toImage();
    const int inicio = titulos->sectionViewportPosition(coluna);
    const int fim = qMin(inicio + titulos->sectionSize(coluna), imagem.width()) - 2;
    for (int x = inicio + 1; x < fim; ++x)
      for (int y = 2; y < imagem.height() - 2; ++y)
        if (imagem.pixelColor(x, y).lightness() < 100) return x - inicio;
    return -1;
  }
  QStringList Coluna(const char* grid, int coluna) {
    QStringList textos;
    QAbstractItemModel* modelo = Grid(grid)->model();
    for (int i = 0; i < modelo->rowCount(); ++i) textos << modelo->index(i, coluna).data().toString();
    return textos;
  }
  void Mv(int ordem, const QString& tabela, const QStringList& chaves = {}) {
    QString colunas = QStringLiteral("ORDEM, ACAO, TABELA");
    QString valores = QStringLiteral("%1, 'I', '%2'").arg(ordem).arg(tabela);
    for (int i = 0; i < chaves.size(); ++i) {
      colunas += QStringLiteral(", CHAVE%1").arg(i);
      valores += chaves[i].isNull() ? QStringLiteral(", NULL") : QStringLiteral(", '%1'").arg(chaves[i]);
    }
    banco.Executar(QStringLiteral("INSERT INTO MVINTEGGERAL (%1) VALUES (%2)").arg(colunas, valores));
  }

  BancoTeste banco;
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  TFPainel painel;
  QPointer<TFUltRegSincro> janela;
};

TEST_F(TFUltRegSincroTeste, ControlesTempoDeVidaERecebidos) {
  banco.Executar(
      "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, DATA_INCLUSAO) "
      "VALUES (1, 101, '01', 'M1', 'A', 0, 'PRODUTO', 'UPDATE PRODUTO SET X = 1;', '2026-01-01')");
  banco.Executar(
      "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, DATA_INCLUSAO) "
      "VALUES (2, 102, '01', 'M1', 'X', 9, 'CLIENTE', NULL, '2026-01-03')");
  banco.Executar(
      "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, DATA_INCLUSAO) "
      "VALUES (3, 103, '01', 'M2', 'I', 1, 'OUTRA', 'x', '2026-01-02')");
  Abrir();
  EXPECT_EQ(TFUltRegSincro::Instancia(), janela.data());
  EXPECT_EQ(janela->windowTitle(), QStringLiteral("Últimos/Próximos registros sincronizados"));
  EXPECT_EQ(janela->size(), QSize(838, 467));
  EXPECT_EQ(janela->minimumSize(), janela->maximumSize()) << "fixed border";
  EXPECT_FALSE(janela->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(janela->findChild<QLabel*>("Label1")->font().bold());
  auto* paginas = janela->findChild<QTabWidget*>("PageControl");
  ASSERT_NE(paginas, nullptr);
  EXPECT_EQ(paginas->height(), 391);
  EXPECT_EQ(paginas->currentIndex(), 0);
  EXPECT_EQ(paginas->tabText(0), QStringLiteral("15 Últimos registros recebidos"));
  EXPECT_EQ(paginas->tabText(1), QStringLiteral("15 Últimos registros enviados"));
  EXPECT_EQ(paginas->tabText(2), QStringLiteral("15 Próximos registros que serão enviados"));
  EXPECT_EQ(janela->findChild<QPushButton*>("btTodos")->text(), QStringLiteral("&Todos os registros"));
  EXPECT_EQ(janela->findChild<QAction*>("C1")->text(), QStringLiteral("Copiar Script"));
  for (const char* nome : {"sqlRegReceb", "sqlRegEnviado", "sqlPrxReg", "ChavePrimaria"})
    EXPECT_NE(janela->findChild<ConsultaSql*>(QLatin1String(nome)), nullptr) << nome;

  QTableView* receb = Grid("GridReceb");
  EXPECT_FALSE(receb->verticalHeader()->isVisible());
  EXPECT_EQ(receb->editTriggers(), QAbstractItemView::NoEditTriggers);
  const QStringList titulos = {"ID", "Nome Tabela", "Status", "Ação", "Script"};
  const QList<int> larguras = {75, 160, 100, 100, 1200};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(receb->model()->headerData(c, Qt::Horizontal).toString(), titulos[c]);
    EXPECT_EQ(receb->columnWidth(c), larguras[c]);
  }
  EXPECT_EQ(Grid("GridPrx")->columnWidth(2), 1400);
  // Titles on the left, but "ID" centred; the wide "Chave" title in sight.
  for (const char* grid : {"GridReceb", "GridEnv", "GridPrx"}) {
    EXPECT_GT(InicioTitulo(grid, 0), 20) << grid;
    for (int c = 1; c < Grid(grid)->model()->columnCount(); ++c) {
      EXPECT_GE(InicioTitulo(grid, c), 0) << grid << c;
      EXPECT_LT(InicioTitulo(grid, c), 12) << grid << c;
    }
  }
  paginas->setCurrentIndex(0);
  // Newest first; only this machine; unknown codes give empty texts.
  EXPECT_EQ(Coluna("GridReceb", 0), QStringList({"102", "101"}));
  EXPECT_EQ(Coluna("GridReceb", 2), QStringList({"", "Não Executado"}));
  EXPECT_EQ(Coluna("GridReceb", 3), QStringList({"", "Alteração"}));

  // The second row's script to the clipboard, with its message.
  receb->setCurrentIndex(receb->model()->index(1, 0));
  janela->findChild<QAction*>("C1")->trigger();
  EXPECT_EQ(dialogos.AreaDeTransferencia(), QStringLiteral("UPDATE PRODUTO SET X = 1;"));
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Informação"));
  EXPECT_EQ(dialogos.Caixas()[0].Texto, QStringLiteral("Script copiado para a Área de Transferência."));

  janela->findChild<QPushButton*>("btFechar")->click();
  EXPECT_EQ(TFUltRegSincro::Instancia(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(janela.isNull()) << "freed on close";

  // No received rows: an empty text still goes to the clipboard.
  banco.Executar("DELETE FROM FILAINTEGOFFLINE");
  dialogos.Limpar();
  Abrir();
  EXPECT_NE(TFUltRegSincro::Instancia(), nullptr);
  janela->findChild<QAction*>("C1")->trigger();
  EXPECT_EQ(dialogos.AreaDeTransferencia(), QString());
  EXPECT_EQ(dialogos.Textos(), QStringList({"Script copiado para a Área de Transferência."}));
}

TEST_F(TFUltRegSincroTeste, TextosDeChave) {
  banco.Executar("CREATE TABLE UMA (A VARCHAR(10) NOT NULL, CONSTRAINT PK_UMA PRIMARY KEY (A))");
  banco.Executar("CREATE TABLE DUAS (B VARCHAR(10) NOT NULL, A VARCHAR(10) NOT NULL, CONSTRAINT PK_DUAS PRIMARY KEY "
                 "(A, B))");
  QString onze = "CREATE TABLE ONZE (";
  QStringList nomes;
  for (int i = 0; i < 11; ++i) nomes << QStringLiteral("C%1").arg(i);
  for (const QString& n : nomes) onze += n + " INTEGER NOT NULL, ";
  banco.Executar(onze + "CONSTRAINT PK_ONZE PRIMARY KEY (" + nomes.join(", ") + "))");
  banco.Executar("CREATE TABLE SEMCHAVE (A INTEGER)");
  const QString longo(30, u'x');
  banco.Executar("CREATE TABLE LONGA (COLUNA_DE_NOME_BEM_COMPRIDO_1 INTEGER NOT NULL, COLUNA_DE_NOME_BEM_COMPRIDO_2 "
                 "INTEGER NOT NULL, COLUNA_DE_NOME_BEM_COMPRIDO_3 INTEGER NOT NULL, COLUNA_DE_NOME_BEM_COMPRIDO_4 "
                 "INTEGER NOT NULL, PRIMARY KEY (COLUNA_DE_NOME_BEM_COMPRIDO_1, COLUNA_DE_NOME_BEM_COMPRIDO_2, "
                 "COLUNA_DE_NOME_BEM_COMPRIDO_3, COLUNA_DE_NOME_BEM_COMPRIDO_4))");
  banco.Executar("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'M1', 0)");
  Mv(1, "UMA", {"01"});
  Mv(2, "DUAS", {"01", " 7 "});
  QStringList onzeValores;
  for (int i = 0; i < 10; ++i) onzeValores << QString::number(i);
  Mv(3, "ONZE", onzeValores);
  Mv(4, "UMA", {QString()});
  Mv(5, "SEMCHAVE", {"1"});
  Mv(6, "LONGA", {longo, longo, longo, longo});
  Mv(7, "uma", {"1"});
  // Sent: rows 1, 2 and 6, highest first.
  for (int ordem : {1, 2, 6})
    banco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) "
                                  "VALUES ('01', 'M1', %1, 'S')")
                       .arg(ordem));
  banco.Executar("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'M1', 3, 'N')");
  Abrir();
  const QString chaveLonga = QStringLiteral("COLUNA_DE_NOME_BEM_COMPRIDO_1=%1;COLUNA_DE_NOME_BEM_COMPRIDO_2=%1;"
                                            "COLUNA_DE_NOME_BEM_COMPRIDO_3=%1;COLUNA_DE_NOME_BEM_COMPRIDO_4=%1;")
                                 .arg(longo)
                                 .left(200);
  EXPECT_EQ(Coluna("GridEnv", 0), QStringList({"6", "2", "1"}));
  EXPECT_EQ(Coluna("GridEnv", 2), QStringList({chaveLonga, "A=01;B= 7 ;", "A=01;"}));
  // The longest key shows whole, not cut to the column.
  EXPECT_GE(Grid("GridEnv")->columnWidth(2), QFontMetrics(Grid("GridEnv")->font()).horizontalAdvance(chaveLonga));
  EXPECT_EQ(Coluna("GridPrx", 2),
            QStringList({"A=01;", "A=01;B= 7 ;", "C0=0;C1=1;C2=2;C3=3;C4=4;C5=5;C6=6;C7=7;C8=8;C9=9;", "A=;", "",
                         chaveLonga, ""}));
  EXPECT_EQ(chaveLonga.size(), 200);

  // The free routine, directly: names trimmed, key order, unknown table empty.
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(Catalogo::ChavePrimaria());
  EXPECT_EQ(BuscarChavePrimaria("DUAS", consulta), TChvPrimaria({"A", "B"}));
  EXPECT_EQ(BuscarChavePrimaria("NAOEXISTE", consulta), TChvPrimaria());
  EXPECT_EQ(BuscarChavePrimaria(" UMA", consulta), TChvPrimaria()) << "not trimmed";
}

TEST_F(TFUltRegSincroTeste, ChavesDoCatalogoUmaVezPorTabelaEPorCarga) {
  banco.Executar("CREATE TABLE UMA (A VARCHAR(10) NOT NULL, CONSTRAINT PK_UMA PRIMARY KEY (A))");
  banco.Executar("CREATE TABLE TROCA (A VARCHAR(10) NOT NULL, B VARCHAR(10) NOT NULL, CONSTRAINT PK_TROCA "
                 "PRIMARY KEY (A))");
  banco.Executar("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'M1', 0)");
  for (int ordem = 1; ordem <= 40; ++ordem)
    Mv(ordem, ordem % 2 ? "UMA" : "TROCA", {QString::number(ordem), QStringLiteral("b")});
  banco.Executar("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'M1', 1, 'S')");
  int catalogo = 0;
  painel.cnVelmora().SetObservador([&](const QString& sql) {
    if (sql == Catalogo::ChavePrimaria()) ++catalogo;
  });
  Abrir();
  // Sent list: one table; next 15: two tables.
  EXPECT_EQ(catalogo, 1 + 2);
  EXPECT_EQ(Coluna("GridPrx", 2).mid(0, 2), QStringList({"A=1;", "A=2;"}));

  // The key changes in the database while the window is open: the next load
  // asks the catalogue again, once per table, and shows the new key.
  banco.Executar("ALTER TABLE TROCA DROP CONSTRAINT PK_TROCA");
  banco.Executar("ALTER TABLE TROCA ADD CONSTRAINT PK_TROCA PRIMARY KEY (B, A)");
  catalogo = 0;
  janela->findChild<QPushButton*>("btTodos")->click();
  EXPECT_EQ(catalogo, 2);
  const QStringList chaves = Coluna("GridPrx", 2);
  ASSERT_EQ(chaves.size(), 40);
  EXPECT_EQ(chaves.mid(0, 2), QStringList({"A=1;", "B=2;A=b;"}));
  painel.cnVelmora().SetObservador({});
}

TEST_F(TFUltRegSincroTeste, ProximosRegistrosETodos) {
  // A missing IGFMAQUINA row: nothing, with or without "Todos".
  Mv(1, "PRODUTO", {"1"});
  Abrir();
  EXPECT_TRUE(Coluna("GridPrx", 0).isEmpty());
  janela->findChild<QPushButton*>("btTodos")->click();
  EXPECT_TRUE(Coluna("GridPrx", 0).isEmpty());
  delete janela.data();

  banco.Executar("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'M1', 1)");
  banco.Executar("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('02', 'M1', 100)");
  Mv(2, "TRANSFESTOQUE", {"a", "b", "c", "01"});
  Mv(3, "TRANSFESTOQUE", {"a", "b", "c", "02"});
  Mv(4, "MVGERAL", {"01"});
  Mv(5, "MVGERAL", {"02"});
  for (int ordem = 6; ordem <= 30; ++ordem) Mv(ordem, "PRODUTO", {QString::number(ordem)});
  Abrir();
  QStringList esperado = {"2", "4"};
  for (int ordem = 6; ordem <= 18; ++ordem) esperado << QString::number(ordem);
  EXPECT_EQ(Coluna("GridPrx", 0), esperado) << "first 15, lowest first, other branches' rows left out";
  janela->findChild<QPushButton*>("btTodos")->click();
  for (int ordem = 19; ordem <= 30; ++ordem) esperado << QString::number(ordem);
  EXPECT_EQ(Coluna("GridPrx", 0), esperado);
  EXPECT_EQ(janela->findChild<QTabWidget*>("PageControl")->tabText(2),
            QStringLiteral("15 Próximos registros que serão enviados"));
  delete janela.data();

  // A fresh window starts with the limit of 15 again.
  Abrir();
  EXPECT_EQ(Coluna("GridPrx", 0).size(), 15);
}

}  // namespace
