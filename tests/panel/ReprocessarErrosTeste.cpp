#include <QPushButton>

#include "GradePainelTeste.h"
#include "panel/ReprocessamentoErros.h"

namespace {

class ReprocessarErrosTeste : public GradePainelTeste {
 protected:
  // Queue entries of three branches in every state: in error (3), pending
  // (0), running (1), done (2) and without a state.
  void Fila() {
    const char* linhas[] = {"1, '01', 'M1', 3", "2, '02', 'M2', 3", "3, '01', 'M1', 1",
                            "4, '02', 'M2', 0", "5, '03', 'M3', NULL", "6, '02', 'M2', 2"};
    for (const char* valores : linhas)
      banco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (%1)")
                         .arg(QLatin1String(valores)));
    Filial(QStringLiteral("01"), QStringLiteral("Loja"));
    Filial(QStringLiteral("02"), QStringLiteral("Outra"));
    Maquina(QStringLiteral("01"), QStringLiteral("M1"));
    Maquina(QStringLiteral("02"), QStringLiteral("M2"));
    Atualizar();
  }

  // The state of entries 1 to 6 as committed, read through another
  // attachment ("-" for none).
  QString Estados() {
    QStringList estados;
    for (int id = 1; id <= 6; ++id) {
      const QString valor =
          banco.Valor(QStringLiteral("SELECT STATUS FROM FILAINTEGOFFLINE WHERE ID = %1 AND STATUS IS NOT NULL").arg(id));
      estados << (valor.isEmpty() ? QStringLiteral("-") : valor);
    }
    return estados.join(u' ');
  }

  void Reprocessar() {
    QTest::mouseClick(painel.findChild<QPushButton*>(QStringLiteral("btnReexecutaErros")), Qt::LeftButton);
  }
};

TEST_F(ReprocessarErrosTeste, ConfirmacaoDecideEAtualizacaoValeParaTodasAsFiliais) {
  Fila();
  const QString antes = QStringLiteral("3 3 1 0 - 2");
  ASSERT_EQ(Estados(), antes);
  QStringList& instrucoes = Observar();
  const quint64 periodos = timer->PeriodosIniciados();

  // "&Não": the question and nothing else.
  dialogos.ResponderConfirmacoes(Dialogos::Resposta::Nao);
  Reprocessar();
  ASSERT_EQ(dialogos.Caixas().size(), 1);
  const auto& pergunta = dialogos.Caixas()[0];
  EXPECT_EQ(pergunta.Titulo, QStringLiteral("Confirmação"));
  EXPECT_EQ(pergunta.Texto,
            QStringLiteral("Esta ação irá reverter os registros processados com erros pela Fila em registros pendentes, "
                           "para que sejam executados novamente. \rDeseja continuar?"));
  EXPECT_EQ(pergunta.IconeMostrado, Dialogos::Icone::Pergunta);
  EXPECT_EQ(pergunta.BotoesMostrados, Dialogos::Botoes::SimNao);
  EXPECT_TRUE(instrucoes.isEmpty());
  EXPECT_EQ(Estados(), antes);

  // "&Sim" with a row of the first branch selected: the entries in error of
  // both branches go back to pending, committed at once; nothing else
  // changes, the grid is not refreshed and the timer is left alone.
  dialogos.Limpar();
  dialogos.ResponderConfirmacoes(Dialogos::Resposta::Sim);
  ClicarCelula(0, 0);
  ASSERT_EQ(Ordem().value(0), QStringLiteral("01/M1"));
  Reprocessar();
  EXPECT_EQ(Estados(), QStringLiteral("0 0 1 0 - 2"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_EQ(instrucoes, QStringList{Catalogo::ReprocessarErros()});
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  EXPECT_EQ(dialogos.Caixas()[1].Titulo, QStringLiteral("Informação"));
  EXPECT_EQ(dialogos.Caixas()[1].Texto, QStringLiteral("Registros atualizados com sucesso."));
  EXPECT_EQ(dialogos.Caixas()[1].BotoesMostrados, Dialogos::Botoes::Ok);
  EXPECT_TRUE(timer->Ativo());
  EXPECT_EQ(timer->PeriodosIniciados(), periodos);

  // Nothing left in error: the same boxes, nothing changed.
  dialogos.Limpar();
  Reprocessar();
  EXPECT_EQ(dialogos.Textos().value(1), QStringLiteral("Registros atualizados com sucesso."));
  EXPECT_EQ(Estados(), QStringLiteral("0 0 1 0 - 2"));
}

TEST_F(ReprocessarErrosTeste, FalhaDoBancoMostraOAlertaENaoMudaNada) {
  Fila();
  // The server refuses the second entry: the first one, already changed by
  // the same statement, must come back too.
  banco.Executar(QStringLiteral("CREATE EXCEPTION E_FILA_BLOQUEADA 'Fila bloqueada pelo integrador'"));
  banco.Executar(QStringLiteral("CREATE TRIGGER TG_FILA_BLOQUEADA FOR FILAINTEGOFFLINE BEFORE UPDATE AS BEGIN "
                                "IF (OLD.ID = 2) THEN EXCEPTION E_FILA_BLOQUEADA; END"));
  const quint64 periodos = timer->PeriodosIniciados();

  Reprocessar();
  ASSERT_EQ(dialogos.Caixas().size(), 2);
  const auto& alerta = dialogos.Caixas()[1];
  EXPECT_EQ(alerta.Titulo, QStringLiteral("Alerta"));
  EXPECT_EQ(alerta.BotoesMostrados, Dialogos::Botoes::Ok);
  EXPECT_TRUE(alerta.Texto.startsWith(QStringLiteral("Não foi possível atualizar os registros: "))) << alerta.Texto.toStdString();
  EXPECT_TRUE(alerta.Texto.contains(QStringLiteral("Fila bloqueada pelo integrador"))) << alerta.Texto.toStdString();
  EXPECT_EQ(Estados(), QStringLiteral("3 3 1 0 - 2"));
  EXPECT_FALSE(painel.cnVelmora().EmTransacao());
  EXPECT_TRUE(timer->Ativo());
  EXPECT_EQ(timer->PeriodosIniciados(), periodos);

  // The connection is left clean: once the server allows it, it works.
  banco.Executar(QStringLiteral("DROP TRIGGER TG_FILA_BLOQUEADA"));
  dialogos.Limpar();
  Reprocessar();
  EXPECT_EQ(dialogos.Textos().value(1), QStringLiteral("Registros atualizados com sucesso."));
  EXPECT_EQ(Estados(), QStringLiteral("0 0 1 0 - 2"));
}

}  // namespace
