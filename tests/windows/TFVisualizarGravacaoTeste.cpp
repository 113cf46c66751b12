#include "TFVisualizarTeste.h"

#include <QPushButton>

#include "model/Catalogo.h"

namespace {

const QString kMotivo = QStringLiteral("Erro ao gravar alteração na tabela. Motivo: ");

class TFVisualizarGravacaoTeste : public TFVisualizarTeste {
 protected:
  TFVisualizarGravacaoTeste() {
    painel.cnVelmora().SetObservador([this](const QString& sql) {
      if (sql == Catalogo::GravarConferido()) ++atualizacoes;
      if (sql == Catalogo::ExcluirErros()) ++exclusoes;
    });
  }

  // A trigger that refuses the change of one error while PARADIV holds the
  // key "RECUSAR" (a statement prepared before a trigger is dropped would
  // still run it, so the trigger stays and the key goes).
  void Recusar(const char* quando, int id) {
    banco.Executar(QStringLiteral("CREATE EXCEPTION E_TESTE 'Recusado pelo teste'"));
    banco.Executar(QStringLiteral("CREATE TRIGGER TR_TESTE FOR INTEGERRO %1 AS BEGIN IF (%2.IDINTEGERRO = %3 AND "
                                  "EXISTS(SELECT 1 FROM PARADIV WHERE ID_DESCRICAO = 'RECUSAR')) THEN "
                                  "EXCEPTION E_TESTE; END")
                       .arg(QLatin1String(quando), QLatin1String(QByteArray(quando).contains("DELETE") ? "OLD" : "NEW"))
                       .arg(id));
    banco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO) VALUES ('RECUSAR')"));
  }
  void Aceitar() { banco.Executar(QStringLiteral("DELETE FROM PARADIV WHERE ID_DESCRICAO = 'RECUSAR'")); }

  void MarcarTodos() { Clicar(Controle<QCheckBox>("MarcarTodos")); }

  QString TodosConferidos() {
    QStringList valores;
    for (int id = 1; id <= 5; ++id) valores << Conferido(id);
    return valores.join(u',');
  }

  int atualizacoes = 0;
  int exclusoes = 0;
};

TEST_F(TFVisualizarGravacaoTeste, ConferirUmaLinhaPorVez) {
  Erro("01", "M1", 1, "2024-03-03 10:00:00", "a", "N");
  Erro("01", "M1", 2, "2024-03-02 10:00:00", "", "");
  Erro("01", "M2", 1, "2024-03-03 10:00:00", "outra maquina", "N");
  Erro("02", "M1", 1, "2024-03-03 10:00:00", "outra filial", "N");
  Abrir();
  ASSERT_EQ(Linhas(), 1);

  // "S" then "N", each committed on its own; only this row of this machine.
  DuploClique(0, 0);
  EXPECT_EQ(Conferido(1), QStringLiteral("S"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_EQ(Flags(), QStringList({"S"})) << "stays listed until the next load";
  DuploClique(0, 0);
  EXPECT_EQ(Conferido(1), QStringLiteral("N"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_EQ(Flags(), QStringList({"N"}));
  EXPECT_EQ(atualizacoes, 2);
  EXPECT_EQ(Conferido(1, "01", "M2"), QStringLiteral("N"));
  EXPECT_EQ(Conferido(1, "02", "M1"), QStringLiteral("N"));

  // A blank flag becomes "S".
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  ASSERT_EQ(Linhas(), 2);
  DuploClique(1, 0);
  EXPECT_EQ(Conferido(2), QStringLiteral("S"));
  EXPECT_EQ(Flags(), QStringList({"N", "S"}));

  // Neither "Data" nor an empty "Mensagem" writes (or opens) anything.
  DuploClique(0, 1);
  DuploClique(1, 2);
  QCoreApplication::processEvents();
  EXPECT_EQ(atualizacoes, 3);
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(TFVisualizarGravacaoTeste, MarcarTodosNumaTransacao) {
  Erro("01", "M1", 1, "2024-03-05 10:00:00", "a", "N");
  Erro("01", "M1", 2, "2024-03-04 10:00:00", "b", "S");
  Erro("01", "M1", 3, "2024-03-03 10:00:00", "c", "N");
  Erro("01", "M1", 4, "2024-03-02 10:00:00", "d", "");
  Erro("01", "M2", 1, "2024-03-05 10:00:00", "outra maquina", "N");
  Abrir();
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  ASSERT_EQ(Linhas(), 4);
  // Recorded after the load: not part of the pass.
  Erro("01", "M1", 5, "2024-03-06 10:00:00", "depois", "N");

  MarcarTodos();
  EXPECT_EQ(atualizacoes, 2) << "only the \"N\" rows";
  EXPECT_EQ(TodosConferidos(), QStringLiteral("S,S,S, ,N"));
  EXPECT_EQ(Conferido(1, "01", "M2"), QStringLiteral("N"));
  EXPECT_EQ(Flags(), QStringList({"S", "S", "S", " "}));
  EXPECT_TRUE(Controle<QCheckBox>("MarcarTodos")->isChecked());
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());

  // Clearing the box undoes nothing.
  MarcarTodos();
  EXPECT_FALSE(Controle<QCheckBox>("MarcarTodos")->isChecked());
  EXPECT_EQ(atualizacoes, 2);
  EXPECT_EQ(TodosConferidos(), QStringLiteral("S,S,S, ,N"));
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();

  // No rows: an empty transaction, nothing written, nothing shown.
  janela->close();
  Liberar();
  Abrir(QStringLiteral("01"), QStringLiteral("M9"));
  EXPECT_EQ(Linhas(), 0);
  MarcarTodos();
  DuploClique(-1, 0);
  EXPECT_EQ(atualizacoes, 2);
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

TEST_F(TFVisualizarGravacaoTeste, FalhaDesfazBancoEGrade) {
  Recusar("BEFORE UPDATE", 3);
  for (int id = 1; id <= 4; ++id) Erro("01", "M1", id, QStringLiteral("2024-03-0%1 10:00:00").arg(9 - id), "x", "N");
  Abrir();
  ASSERT_EQ(Linhas(), 4);

  // The third row fails: none of the pass stays, in the database or the grid.
  MarcarTodos();
  EXPECT_EQ(atualizacoes, 3);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(dialogos.Caixas()[0].BotoesMostrados, Dialogos::Botoes::Ok);
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.startsWith(kMotivo + QStringLiteral("exception")))
      << dialogos.Textos()[0].toStdString();
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.contains(QStringLiteral("Recusado pelo teste")));
  EXPECT_EQ(TodosConferidos(), QStringLiteral("N,N,N,N,<sem linha>"));
  EXPECT_EQ(Flags(), QStringList({"N", "N", "N", "N"}));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());

  // One row refused on its own: back to "N" in the grid too.
  dialogos.Limpar();
  DuploClique(2, 0);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.startsWith(kMotivo));
  EXPECT_EQ(Conferido(3), QStringLiteral("N"));
  EXPECT_EQ(Flags(), QStringList({"N", "N", "N", "N"}));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());

  // The others still go through.
  DuploClique(0, 0);
  EXPECT_EQ(TodosConferidos(), QStringLiteral("S,N,N,N,<sem linha>"));
  EXPECT_EQ(Flags(), QStringList({"S", "N", "N", "N"}));
  EXPECT_EQ(dialogos.Caixas().size(), 1);
}

TEST_F(TFVisualizarGravacaoTeste, RecusaDaGuardaEhOMotivo) {
  const QString naoFechada =
      QStringLiteral("Detectada falha no controle de inicia transação: Transação não fechada.");
  Erro("01", "M1", 1, "2024-03-03 10:00:00", "a", "N");
  Erro("01", "M1", 2, "2024-03-02 10:00:00", "b", "S");
  Abrir();
  Clicar(Controle<QRadioButton>("VisualizarTodos"));
  ASSERT_EQ(Linhas(), 2);

  // A transaction left open: the refusal is the reason shown; the rollback
  // closes that transaction.
  painel.IniciaTransacao();
  DuploClique(0, 0);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Texto, kMotivo + naoFechada);
  EXPECT_EQ(Flags(), QStringList({"N", "S"}));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());

  painel.IniciaTransacao();
  MarcarTodos();
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  EXPECT_EQ(dialogos.Caixas()[1].Texto, kMotivo + naoFechada);
  EXPECT_EQ(Flags(), QStringList({"N", "S"}));

  painel.IniciaTransacao();
  Clicar(Controle<QPushButton>("btExcluir"));
  ASSERT_EQ(dialogos.Caixas().size(), 4);
  EXPECT_EQ(dialogos.Caixas()[3].Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(dialogos.Caixas()[3].IconeMostrado, Dialogos::Icone::Exclamacao);
  EXPECT_EQ(dialogos.Caixas()[3].Texto, QStringLiteral("Erro ao excluir. Motivo: ") + naoFechada);
  EXPECT_EQ(TodosConferidos(), QStringLiteral("N,S,<sem linha>,<sem linha>,<sem linha>"));
  EXPECT_TRUE(janela->isVisible());
  EXPECT_EQ(Linhas(), 2);

  // No transaction could be started (the database cannot be reached): the
  // window's message gives that failure, for every write.
  dialogos.Limpar();
  painel.cnVelmora().Fechar();
  painel.cnVelmora().SetParam(QStringLiteral("Database"), banco.Pasta() + QStringLiteral("/nao-existe.fdb"));
  Controle<QCheckBox>("MarcarTodos")->setChecked(false);
  DuploClique(0, 0);
  MarcarTodos();
  Clicar(Controle<QPushButton>("btExcluir"));
  ASSERT_EQ(dialogos.Caixas().size(), 4) << dialogos.Textos().join(u'\n').toStdString();
  for (int i : {0, 1, 3}) {
    EXPECT_TRUE(dialogos.Caixas()[i].Texto.contains(QStringLiteral("nao-existe.fdb")))
        << dialogos.Caixas()[i].Texto.toStdString();
    EXPECT_FALSE(dialogos.Caixas()[i].Texto.contains(QStringLiteral("Transação não aberta")));
  }
  EXPECT_TRUE(dialogos.Caixas()[0].Texto.startsWith(kMotivo));
  EXPECT_TRUE(dialogos.Caixas()[1].Texto.startsWith(kMotivo));
  EXPECT_TRUE(dialogos.Caixas()[3].Texto.startsWith(QStringLiteral("Erro ao excluir. Motivo: ")));
  EXPECT_EQ(Flags(), QStringList({"N", "S"}));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_TRUE(janela->isVisible());
}

TEST_F(TFVisualizarGravacaoTeste, ExcluirErrosDaFilial) {
  Erro("01", "M1", 1, "2024-03-03 10:00:00", "a", "S");
  Erro("01", "M1", 2, "2024-03-02 10:00:00", "b", "S");
  Erro("01", "M2", 3, "2024-03-02 10:00:00", "c", "N");
  Erro("01", "M3", 4, "2024-03-02 10:00:00", "d", QString());
  Erro("02", "M1", 5, "2024-03-02 10:00:00", "e", "N");
  Abrir();
  ASSERT_EQ(Linhas(), 0) << "nothing open for this machine";
  auto* excluir = Controle<QPushButton>("btExcluir");

  // "Não": nothing happens.
  dialogos.ResponderConfirmacoes(Dialogos::Resposta::Nao);
  Clicar(excluir);
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  EXPECT_EQ(dialogos.Caixas()[0].Titulo, QStringLiteral("Confirmação"));
  EXPECT_EQ(dialogos.Caixas()[0].Texto, QStringLiteral("Deseja realmente excluir erros?"));
  EXPECT_EQ(dialogos.Caixas()[0].IconeMostrado, Dialogos::Icone::Pergunta);
  EXPECT_EQ(dialogos.Caixas()[0].BotoesMostrados, Dialogos::Botoes::SimNao);
  EXPECT_EQ(exclusoes, 0);
  EXPECT_EQ(banco.Valor("SELECT COUNT(*) FROM INTEGERRO"), QStringLiteral("5"));
  EXPECT_TRUE(janela->isVisible());

  // A refusal by the database: nothing deleted, the window stays as it was.
  Recusar("BEFORE DELETE", 3);
  dialogos.Limpar();
  Clicar(excluir);
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  EXPECT_EQ(dialogos.Caixas()[1].Titulo, QStringLiteral("Erro"));
  EXPECT_EQ(dialogos.Caixas()[1].IconeMostrado, Dialogos::Icone::Exclamacao);
  EXPECT_TRUE(dialogos.Caixas()[1].Texto.startsWith(QStringLiteral("Erro ao excluir. Motivo: ")));
  EXPECT_TRUE(dialogos.Caixas()[1].Texto.contains(QStringLiteral("Recusado pelo teste")));
  EXPECT_EQ(banco.Valor("SELECT COUNT(*) FROM INTEGERRO"), QStringLiteral("5"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_TRUE(janela->isVisible());

  // Every error of the branch, of every machine, acknowledged or not, goes;
  // the other branch's stay. The window closes and is freed.
  Aceitar();
  dialogos.Limpar();
  Clicar(excluir);
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  EXPECT_EQ(dialogos.Caixas()[1].Titulo, QStringLiteral("Informação"));
  EXPECT_EQ(dialogos.Caixas()[1].IconeMostrado, Dialogos::Icone::Informacao);
  EXPECT_EQ(dialogos.Caixas()[1].Texto, QStringLiteral("Exclusão finalizada com sucesso."));
  EXPECT_EQ(banco.Valor("SELECT COUNT(*) FROM INTEGERRO WHERE CODEMPRESA = '01'"), QStringLiteral("0"));
  EXPECT_EQ(Conferido(5, "02", "M1"), QStringLiteral("N"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  Liberar();
  EXPECT_TRUE(janela.isNull());
  EXPECT_EQ(TFVisualizar::Instancia(), nullptr);
}

}  // namespace
