#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "BancoTeste.h"
#include "DialogosGravados.h"
#include "app/ui/TFPainel.h"
#include "windows/MemoMensagem.h"
#include "windows/TFMensagem.h"
#include "windows/TFUltRegSincro.h"
#include "windows/TFVisualizar.h"
#include "windows/TFVisualizarLog.h"

namespace {

// Gives the focus to a control of a shown window and presses a key there.
void Teclar(QWidget* controle, Qt::Key tecla) {
  controle->setFocus(Qt::TabFocusReason);
  QTest::keyClick(controle, tecla);
  QCoreApplication::processEvents();
}

void Liberar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The same keys in every detail window: Esc closes none of them, and Enter
// presses no button but the one that has the focus.
TEST(TeclasJanelasTeste, EscNaoFechaEnterSoNoBotaoComFoco) {
  BancoTeste banco;
  TFPainel painel(QStringLiteral("/nao/existe/Caminho.ini"));
  banco.Configurar(painel.cnVelmora());
  DialogosGravados& dialogos = DialogosGravados::Instancia();
  dialogos.Limpar();

  // Log viewer: Enter in the path field leaves it open; on "Fechar" it closes.
  QPointer<TFVisualizarLog> log = new TFVisualizarLog();
  log->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(log));
  auto* arquivo = log->findChild<QLineEdit*>(QStringLiteral("Arquivo"));
  auto* memo = log->findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
  auto* fecharLog = log->findChild<QPushButton*>(QStringLiteral("btFechar"));
  QSignalSpy fechouLog(fecharLog, &QPushButton::clicked);
  for (QWidget* controle : {static_cast<QWidget*>(arquivo), static_cast<QWidget*>(memo)}) {
    Teclar(controle, Qt::Key_Return);
    Teclar(controle, Qt::Key_Enter);
    Teclar(controle, Qt::Key_Escape);
  }
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(fechouLog.count(), 0);
  Teclar(fecharLog, Qt::Key_Return);
  EXPECT_EQ(fechouLog.count(), 1);
  Liberar();
  EXPECT_TRUE(log.isNull());

  // Records viewer: Enter in the third tab's grid does not list every record.
  banco.Executar("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'M1', 0)");
  for (int ordem = 1; ordem <= 20; ++ordem)
    banco.Executar(QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA) VALUES (%1, 'I', 'X')").arg(ordem));
  QPointer<TFUltRegSincro> registros = new TFUltRegSincro();
  registros->FCodEmpresa = QStringLiteral("01");
  registros->FMaquinaECF = QStringLiteral("M1");
  registros->show();
  registros->findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(2);
  auto* proximos = registros->findChild<QTableView*>(QStringLiteral("GridPrx"));
  auto* todos = registros->findChild<QPushButton*>(QStringLiteral("btTodos"));
  QSignalSpy listouTodos(todos, &QPushButton::clicked);
  ASSERT_EQ(proximos->model()->rowCount(), 15);
  Teclar(proximos, Qt::Key_Return);
  Teclar(proximos, Qt::Key_Escape);
  EXPECT_TRUE(registros->isVisible());
  EXPECT_EQ(listouTodos.count(), 0);
  EXPECT_EQ(proximos->model()->rowCount(), 15);
  Teclar(todos, Qt::Key_Enter);
  EXPECT_EQ(listouTodos.count(), 1);
  EXPECT_EQ(proximos->model()->rowCount(), 20);
  delete registros.data();

  // Error viewer: neither key in the grid deletes or closes anything.
  QPointer<TFVisualizar> erros = new TFVisualizar();
  erros->show();
  auto* grade = erros->findChild<QTableView*>(QStringLiteral("GridVisualizar"));
  Teclar(grade, Qt::Key_Return);
  Teclar(grade, Qt::Key_Escape);
  EXPECT_TRUE(erros->isVisible());
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
  delete erros.data();

  // Message window: only "OK" closes it, Enter included.
  QPointer<TFMensagem> mensagem = new TFMensagem();
  mensagem->Memo->SetTexto(QStringLiteral("texto"));
  mensagem->show();
  QSignalSpy ok(mensagem->BitBtn1, &QPushButton::clicked);
  Teclar(mensagem->Memo, Qt::Key_Return);
  Teclar(mensagem->Memo, Qt::Key_Escape);
  EXPECT_TRUE(mensagem->isVisible());
  EXPECT_EQ(ok.count(), 0);
  Teclar(mensagem->BitBtn1, Qt::Key_Return);
  EXPECT_EQ(ok.count(), 1);
  Liberar();
  EXPECT_TRUE(mensagem.isNull());
}

}  // namespace
