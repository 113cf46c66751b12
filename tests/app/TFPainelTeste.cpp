#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "DialogosGravados.h"
#include "app/Encerramento.h"
#include "app/GuardaFalhas.h"
#include "platform/VersaoSistema.h"
#include "app/ui/TFPainel.h"
#include "app/ui/TraducaoQt.h"
#include "panel/Temporizador.h"
#include "platform/FalhaBanco.h"

namespace {

const QString kSemIni = QStringLiteral("/nao/existe/Caminho.ini");

// Shows the window and waits until it has the keyboard.
bool Mostrar(QWidget* janela) {
  janela->show();
  janela->activateWindow();
  return QTest::qWaitForWindowActive(janela);
}

// A key pressed where the keyboard is.
void Teclar(Qt::Key tecla) { QTest::keyClick(QApplication::focusWidget(), tecla); }

template <typename T>
T* Controle(QWidget& janela, const char* nome) {
  T* controle = janela.findChild<T*>(QLatin1String(nome));
  EXPECT_NE(controle, nullptr) << nome;
  return controle;
}

class TFPainelTeste : public ::testing::Test {
 protected:
  void SetUp() override { DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema)); }
  DialogosGravados& dialogos = DialogosGravados::Instancia();
};

TEST_F(TFPainelTeste, TituloControlesETextos) {
  TFPainel painel(kSemIni);
  EXPECT_EQ(painel.objectName(), QStringLiteral("FPainel"));
  EXPECT_EQ(painel.windowTitle(), QStringLiteral("Painel de Controle para Integração - VKT Informática - v.29.07ad0"));
  EXPECT_EQ(painel.size(), QSize(1094, 470));
  EXPECT_EQ(painel.minimumSize(), painel.maximumSize()) << "not resizable";
  EXPECT_EQ(TFPainel::Instancia(), &painel);

  // Without a configuration the start goes on after the message.
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(dialogos.Caixas()[0].Texto,
            QStringLiteral("Caminho do banco de dados não configurado no \"Caminho.Ini\".\r\n"
                           "Entre em contato com o suporte técnico."));

  auto* edt = Controle<QLineEdit>(painel, "edtIntervalo");
  EXPECT_EQ(edt->text(), QStringLiteral("15"));
  EXPECT_EQ(edt->maxLength(), 2);
  EXPECT_EQ(edt->geometry(), QRect(339, 18, 25, 21));
  EXPECT_EQ(Controle<QLabel>(painel, "Label2")->text(), QStringLiteral("Atualizar a cada"));
  EXPECT_EQ(Controle<QLabel>(painel, "Label3")->text(), QStringLiteral("segundos"));
  EXPECT_EQ(Controle<QLabel>(painel, "lblAtualizado")->text(), QStringLiteral("Atualizado em:"));
  EXPECT_EQ(Controle<QLabel>(painel, "lblAtualizado")->pos(), QPoint(239, 46));
  auto* aviso = Controle<QLabel>(painel, "Label1");
  EXPECT_TRUE(aviso->text().startsWith(QStringLiteral("Atenção: Se estiver atualizando a versão do Velmora Off-Line")));
  EXPECT_EQ(aviso->geometry(), QRect(551, 11, 266, 54));
  EXPECT_TRUE(aviso->wordWrap());

  // The header's texts neither run into each other nor out of their boxes,
  // the longest refresh time included.
  auto* intervaloRotulo = Controle<QLabel>(painel, "Label2");
  EXPECT_LT(intervaloRotulo->geometry().right(), edt->x());
  EXPECT_LT(Controle<QLabel>(painel, "Label3")->x(), painel.width());
  auto* atualizado = Controle<QLabel>(painel, "lblAtualizado");
  const QFontMetrics medida(atualizado->font());
  EXPECT_LT(atualizado->x() + medida.horizontalAdvance(QStringLiteral("Informações atualizadas em 28/12/2026 23:59:59")),
            aviso->x());
  EXPECT_LE(aviso->heightForWidth(aviso->width()), aviso->height()) << "the warning is shown whole";
  auto* ocupado = Controle<QLabel>(painel, "lblAtualizandoPainel");
  EXPECT_EQ(ocupado->text(), QStringLiteral("Aguarde, atualizando dados..."));
  EXPECT_TRUE(ocupado->isHidden());
  EXPECT_EQ(Controle<QWidget>(painel, "Image8")->geometry(), QRect(11, 5, 192, 66));
  EXPECT_EQ(Controle<QWidget>(painel, "Image1")->geometry(), QRect(842, 6, 241, 67));

  const QList<std::tuple<const char*, QString, QRect>> botoes = {
      {"btAtualizar", "&Atualizar agora", QRect(349, 5, 149, 28)},
      {"btUltReg", "&Reg. sincronizados", QRect(501, 5, 149, 28)},
      {"btVisualizar", "&Visualizar Log", QRect(653, 5, 149, 28)},
      {"btnReexecutaErros", "Reprocessar Erros", QRect(805, 5, 149, 28)},
      {"btFechar", "&Fechar", QRect(957, 5, 133, 28)},
  };
  for (const auto& [nome, texto, geometria] : botoes) {
    auto* botao = Controle<QPushButton>(painel, nome);
    EXPECT_EQ(botao->text(), texto) << nome;
    EXPECT_EQ(botao->geometry(), geometria) << nome;
  }
  EXPECT_EQ(Controle<QWidget>(painel, "pnlCabecalho")->height(), 80);
  EXPECT_EQ(Controle<QWidget>(painel, "pnlBotoes")->height(), 38);
  auto* barra = Controle<QStatusBar>(painel, "StatusBar1");
  EXPECT_EQ(barra->height(), 19);
  auto* painelBarra = barra->findChild<QLabel*>();
  ASSERT_NE(painelBarra, nullptr);
  EXPECT_EQ(painelBarra->text(), QStringLiteral("Erro? são os eventos ocorridos durante o processamento das informações."));

  // The grid's columns in order, the machine column hidden.
  auto* grid = Controle<QTableView>(painel, "GridPainel");
  const QStringList titulos = {"Filial", "Maq. ECF", "Erro?", "Intervalo", "Último Recebimento", "Último Envio",
                               "A serem recebidos", "A serem enviados", "Registros na Fila"};
  const QList<int> larguras = {225, -1, 40, 75, 135, 130, 115, 122, 114};
  ASSERT_EQ(grid->model()->columnCount(), titulos.size());
  for (int i = 0; i < titulos.size(); ++i) {
    EXPECT_EQ(grid->model()->headerData(i, Qt::Horizontal).toString(), titulos[i]);
    if (larguras[i] > 0) {
      EXPECT_EQ(grid->columnWidth(i), larguras[i]) << i;
    }
  }
  EXPECT_TRUE(grid->isColumnHidden(1));
  EXPECT_FALSE(grid->verticalHeader()->isVisible());
  EXPECT_FALSE(grid->showGrid()) << "lines between rows are drawn by the cells, none between columns";
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectItems);
  EXPECT_EQ(grid->focusPolicy(), Qt::ClickFocus);
  EXPECT_TRUE(grid->horizontalHeader()->font().bold());
  EXPECT_EQ(grid->font().pointSize(), 10);
}

TEST_F(TFPainelTeste, OrdemDeTabulacaoEnterComoTabEscFecha) {
  TFPainel painel(kSemIni);
  ASSERT_TRUE(Mostrar(&painel));
  auto* edt = Controle<QLineEdit>(painel, "edtIntervalo");
  auto* visualizar = Controle<QPushButton>(painel, "btVisualizar");
  const QStringList ordem = {"btAtualizar", "btUltReg", "btFechar", "btnReexecutaErros", "edtIntervalo",
                             "btVisualizar", "btAtualizar"};
  visualizar->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return visualizar->hasFocus(); }));
  for (const QString& proximo : ordem) {
    Teclar(Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), proximo);
  }
  // Enter moves the focus as Tab does; leaving the edit applies the interval.
  edt->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return edt->hasFocus(); }));
  edt->selectAll();
  QTest::keyClicks(edt, QStringLiteral("5"));
  Teclar(Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), visualizar);
  EXPECT_TRUE(QTest::qWaitFor([&] { return painel.Temporizacao()->Intervalo() == 5000u; }));
  Teclar(Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("btAtualizar"));
  EXPECT_FALSE(Encerramento::Pedido());

  Teclar(Qt::Key_Escape);
  EXPECT_TRUE(Encerramento::Pedido());
  EXPECT_FALSE(painel.isVisible());
}

TEST_F(TFPainelTeste, FecharEncerraAAplicacao) {
  TFPainel painel(kSemIni);
  ASSERT_TRUE(Mostrar(&painel));
  QTest::mouseClick(Controle<QPushButton>(painel, "btFechar"), Qt::LeftButton);
  EXPECT_TRUE(Encerramento::Pedido());
  EXPECT_FALSE(painel.isVisible());
}

TEST_F(TFPainelTeste, TratarExcecaoSoEncerraPorFalhaDoBanco) {
  TFPainel painel(kSemIni);
  dialogos.Limpar();

  painel.TratarExcecao(FalhaBanco(QStringLiteral("Error writing data to the connection.\n-connection shutdown"), {},
                                  true));
  EXPECT_TRUE(Encerramento::Pedido());
  EXPECT_TRUE(dialogos.Caixas().isEmpty());
  Encerramento::Limpar();
  painel.TratarExcecao(FalhaBanco(QStringLiteral("Connection Lost to database"), {}, true));
  EXPECT_TRUE(Encerramento::Pedido());
  EXPECT_TRUE(dialogos.Caixas().isEmpty());
  Encerramento::Limpar();

  // The same words in a failure that does not come from the database are
  // shown like any other; the text goes unchanged, in its own letter case.
  painel.TratarExcecao(Falha(QStringLiteral("Arquivo /var/log/shutdown.txt não pode ser lido.")));
  painel.TratarExcecao(FalhaBanco(QStringLiteral("lock conflict on no wait transaction\n-deadlock"), {}, false));
  EXPECT_FALSE(Encerramento::Pedido());
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  EXPECT_EQ(dialogos.Caixas()[0].Texto, QStringLiteral("Arquivo /var/log/shutdown.txt não pode ser lido."));
  EXPECT_EQ(dialogos.Caixas()[1].Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(dialogos.Caixas()[1].Texto, QStringLiteral("lock conflict on no wait transaction\n-deadlock"));
  EXPECT_EQ(dialogos.Caixas()[1].IconeMostrado, Dialogos::Icone::Erro);

  // A failure that arrives while the box is open is not stacked on it; the
  // next one after it closes is shown again.
  dialogos.Limpar();
  dialogos.AoMostrar([&] {
    GuardaFalhas::Executar([] { throw Falha(QStringLiteral("segunda")); });
  });
  GuardaFalhas::Executar([] { throw Falha(QStringLiteral("primeira")); });
  EXPECT_EQ(dialogos.Textos(), QStringList{QStringLiteral("primeira")});
  EXPECT_EQ(dialogos.MaximoAbertas(), 1);
  GuardaFalhas::Executar([] { throw Falha(QStringLiteral("terceira")); });
  EXPECT_EQ(dialogos.Textos(), (QStringList{QStringLiteral("primeira"), QStringLiteral("terceira")}));

  // A box that fails to show does not keep the later ones from showing.
  dialogos.Limpar();
  dialogos.AoMostrar([] { throw std::bad_alloc(); });
  GuardaFalhas::Executar([] { throw Falha(QStringLiteral("sem caixa")); });
  GuardaFalhas::Executar([] { throw Falha(QStringLiteral("depois")); });
  EXPECT_EQ(dialogos.Textos(), (QStringList{QStringLiteral("sem caixa"), QStringLiteral("depois")}));
}

// Qt's own texts speak Portuguese; the program's texts stay as they are,
// the interval edit's message included.
TEST_F(TFPainelTeste, TextosDoQtEmPortuguesOsDoProgramaIntactos) {
  const TraducaoQt traducao;
  ASSERT_TRUE(traducao.Instalada());
  TFPainel painel(kSemIni);
  dialogos.Limpar();
  auto* edt = Controle<QLineEdit>(painel, "edtIntervalo");
  const std::unique_ptr<QMenu> menu(edt->createStandardContextMenu());
  QStringList acoes;
  for (const QAction* acao : menu->actions()) acoes << acao->text();
  EXPECT_TRUE(acoes.contains(QStringLiteral("&Copiar\tCtrl+C"))) << acoes.join(u'|').toStdString();
  EXPECT_TRUE(acoes.contains(QStringLiteral("Selecionar tudo\tCtrl+A")));
  QFileDialog arquivo;
  arquivo.setOption(QFileDialog::DontUseNativeDialog);
  auto* botoes = arquivo.findChild<QDialogButtonBox*>();
  ASSERT_NE(botoes, nullptr);
  EXPECT_EQ(botoes->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Abrir"));

  edt->setText(QStringLiteral("ab"));
  GuardaFalhas::Executar([&] { painel.edtIntervaloExit(); });
  EXPECT_EQ(dialogos.Textos(), QStringList{QStringLiteral("'ab' is not a valid integer value")});
}

}  // namespace
