#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTableView>

#include "BloqueioConcorrente.h"
#include "PainelServidor.h"
#include "windows/TFVisualizar.h"

namespace {

const QString kConflito = QStringLiteral(
    "deadlock\n-update conflicts with concurrent update\n-concurrent transaction number is ");
const QString kGravar = QStringLiteral("Erro ao gravar alteração na tabela. Motivo: ");

// The error viewer of branch "01", machine "CX01", on the panel's server
// connection, while another attachment holds an uncommitted change of some
// of its rows. The other attachment changes the text of the error, not its
// flag: what the grid shows after a failure is then both the value before
// the attempt and the value stored.
class VisualizarBloqueio : public PainelServidor {
 protected:
  void TearDown() override {
    delete FJanela.data();
    PainelServidor::TearDown();
  }

  void Abrir() {
    delete FJanela.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Painel();
    FJanela = new TFVisualizar();
    FJanela->FCodEmpresa = QStringLiteral("01");
    FJanela->FMaquinaECF = QStringLiteral("CX01");
    FJanela->lblNomeEmpresa->setText(QStringLiteral("01 - Centro"));
    FJanela->show();
    FGrid = FJanela->findChild<QTableView*>(QStringLiteral("GridVisualizar"));
  }

  std::unique_ptr<BloqueioConcorrente> Bloquear(int id, BloqueioConcorrente::Desfecho desfecho) {
    return std::make_unique<BloqueioConcorrente>(
        FBanco.Caminho(),
        QStringLiteral("UPDATE INTEGERRO SET MSGERRO = 'do outro' WHERE IDINTEGERRO = %1").arg(id),
        QStringLiteral("INTEGERRO"), desfecho);
  }

  void DuploClique(int linha, int coluna) { PainelServidor::DuploClique(FGrid, FGrid->model()->index(linha, coluna)); }

  QStringList Flags() const {
    QStringList flags;
    for (int i = 0; i < FGrid->model()->rowCount(); ++i) flags << FGrid->model()->index(i, 0).data().toString();
    return flags;
  }

  // CONFERIDO of the errors 1..n as stored, in id order.
  QString Gravados(int n) {
    QStringList valores;
    for (int id = 1; id <= n; ++id)
      valores << FBanco.Valor(QStringLiteral("SELECT CONFERIDO FROM INTEGERRO WHERE IDINTEGERRO = %1").arg(id));
    return valores.join(u',');
  }

  void EsperaEConclui(BloqueioConcorrente& outro) {
    outro.Terminar();
    EXPECT_TRUE(outro.EsperaVista()) << "a gravação não esperou pelo bloqueio";
    EXPECT_EQ(outro.Erro(), QString());
  }

  void ConflitoMostrado(const QString& prefixo, int caixa = 0) {
    ASSERT_GT(FDialogos.Caixas().size(), caixa);
    EXPECT_EQ(FDialogos.Caixas()[caixa].Titulo, QStringLiteral("Erro"));
    EXPECT_TRUE(FDialogos.Caixas()[caixa].Texto.startsWith(prefixo + kConflito))
        << FDialogos.Caixas()[caixa].Texto.toStdString();
    EXPECT_FALSE(Painel().cnVelmora().EmTransacao());
    EXPECT_TRUE(Painel().cnVelmora().Aberta());
  }

  QPointer<TFVisualizar> FJanela;
  QTableView* FGrid = nullptr;
};

TEST_F(VisualizarBloqueio, ConferirUmaLinhaEsperaOBloqueioEConflitoDesfazComOValorGravado) {
  Erro(QStringLiteral("01"), QStringLiteral("CX01"), 1, QStringLiteral("N"));
  Abrir();
  ASSERT_EQ(Flags(), QStringList{QStringLiteral("N")});

  // The other rolls back: the acknowledgement waited and then went through.
  {
    auto outro = Bloquear(1, BloqueioConcorrente::Desfecho::Desfazer);
    DuploClique(0, 0);
    EsperaEConclui(*outro);
  }
  EXPECT_TRUE(FDialogos.Caixas().isEmpty()) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(Gravados(1), QStringLiteral("S"));
  EXPECT_EQ(Flags(), QStringList{QStringLiteral("S")});
  EXPECT_FALSE(Painel().cnVelmora().EmTransacao());

  // The other commits: the server's conflict text, rolled back, and the
  // grid shows what is stored, not the attempted "N".
  {
    auto outro = Bloquear(1, BloqueioConcorrente::Desfecho::Confirmar);
    DuploClique(0, 0);
    EsperaEConclui(*outro);
  }
  ConflitoMostrado(kGravar);
  EXPECT_EQ(FDialogos.Caixas().size(), 1);
  EXPECT_EQ(Gravados(1), QStringLiteral("S"));
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT MSGERRO FROM INTEGERRO WHERE IDINTEGERRO = 1")), QStringLiteral("do outro"));
  EXPECT_EQ(Flags(), QStringList{QStringLiteral("S")});

  // The window and the connection go on.
  DuploClique(0, 0);
  EXPECT_EQ(FDialogos.Caixas().size(), 1);
  EXPECT_EQ(Gravados(1), QStringLiteral("N"));
}

TEST_F(VisualizarBloqueio, MarcarTodosEsperaOBloqueioEConflitoNaoGravaNadaDoLote) {
  for (int id = 1; id <= 3; ++id) Erro(QStringLiteral("01"), QStringLiteral("CX01"), id, QStringLiteral("N"));
  Abrir();
  ASSERT_EQ(Flags(), QStringList({"N", "N", "N"}));
  auto* marcar = FJanela->findChild<QCheckBox*>(QStringLiteral("MarcarTodos"));
  ASSERT_NE(marcar, nullptr);

  // The other holds the middle row: the first is written, the pass waits on
  // the second and finishes once the other rolled back.
  {
    auto outro = Bloquear(2, BloqueioConcorrente::Desfecho::Desfazer);
    Clicar(marcar);
    EsperaEConclui(*outro);
  }
  EXPECT_TRUE(FDialogos.Caixas().isEmpty()) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(Gravados(3), QStringLiteral("S,S,S"));
  EXPECT_EQ(Flags(), QStringList({"S", "S", "S"}));

  // Again with the other committing: the first row's acknowledgement goes
  // with the roll-back, nothing of the batch is stored or shown.
  FBanco.Executar(QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'N'"));
  Abrir();
  marcar = FJanela->findChild<QCheckBox*>(QStringLiteral("MarcarTodos"));
  ASSERT_EQ(Flags(), QStringList({"N", "N", "N"}));
  {
    auto outro = Bloquear(2, BloqueioConcorrente::Desfecho::Confirmar);
    Clicar(marcar);
    EsperaEConclui(*outro);
  }
  ConflitoMostrado(kGravar);
  EXPECT_EQ(FDialogos.Caixas().size(), 1);
  EXPECT_EQ(Gravados(3), QStringLiteral("N,N,N"));
  EXPECT_EQ(Flags(), QStringList({"N", "N", "N"}));
}

TEST_F(VisualizarBloqueio, ExcluirErrosEsperaOBloqueioEConflitoDeixaTudo) {
  Erro(QStringLiteral("01"), QStringLiteral("CX01"), 1, QStringLiteral("N"));
  Erro(QStringLiteral("01"), QStringLiteral("CX01"), 2, QStringLiteral("S"));
  Erro(QStringLiteral("01"), QStringLiteral("CX02"), 3, QStringLiteral("N"));
  Erro(QStringLiteral("02"), QStringLiteral("CX01"), 4, QStringLiteral("N"));
  Abrir();
  ASSERT_EQ(Flags(), QStringList{QStringLiteral("N")});
  auto* excluir = FJanela->findChild<QPushButton*>(QStringLiteral("btExcluir"));
  ASSERT_NE(excluir, nullptr);
  const QString contagem = QStringLiteral("SELECT COUNT(*) FROM INTEGERRO");

  // A row of another machine of the branch is held and the other commits:
  // nothing is deleted and the window stays open with its rows.
  {
    auto outro = Bloquear(3, BloqueioConcorrente::Desfecho::Confirmar);
    Clicar(excluir);
    EsperaEConclui(*outro);
  }
  ASSERT_EQ(FDialogos.Caixas().size(), 2) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(FDialogos.Caixas()[0].Texto, QStringLiteral("Deseja realmente excluir erros?"));
  EXPECT_TRUE(FDialogos.Caixas()[1].Texto.startsWith(QStringLiteral("Erro ao excluir. Motivo: ") + kConflito))
      << FDialogos.Caixas()[1].Texto.toStdString();
  EXPECT_EQ(FDialogos.Caixas()[1].Titulo, QStringLiteral("Erro"));
  EXPECT_FALSE(Painel().cnVelmora().EmTransacao());
  EXPECT_EQ(FBanco.Valor(contagem), QStringLiteral("4"));
  ASSERT_FALSE(FJanela.isNull());
  EXPECT_TRUE(FJanela->isVisible());
  EXPECT_EQ(Flags(), QStringList{QStringLiteral("N")});

  // The other rolls back: the deletion waited, then removed every error of
  // the branch and closed the window.
  {
    auto outro = Bloquear(3, BloqueioConcorrente::Desfecho::Desfazer);
    Clicar(excluir);
    EsperaEConclui(*outro);
  }
  ASSERT_EQ(FDialogos.Caixas().size(), 4) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(FDialogos.Caixas()[3].Texto, QStringLiteral("Exclusão finalizada com sucesso."));
  EXPECT_EQ(FBanco.Valor(contagem), QStringLiteral("1"));
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT CODEMPRESA FROM INTEGERRO")), QStringLiteral("02"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(FJanela.isNull() || !FJanela->isVisible());
}

}  // namespace
