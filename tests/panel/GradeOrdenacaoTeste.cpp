#include <QHelpEvent>
#include <QToolTip>

#include "GradePainelTeste.h"

namespace {

class GradeOrdenacaoTeste : public GradePainelTeste {
 protected:
  // Three branches whose names run against their codes, machines whose
  // values compare differently as text and as numbers or dates.
  void Preencher() {
    Filial(QStringLiteral("01"), QStringLiteral("Zeta"));
    Filial(QStringLiteral("02"), QStringLiteral("Alfa"));
    Filial(QStringLiteral("10"), QStringLiteral("Meio"));
    Maquina(QStringLiteral("10"), QStringLiteral("A1"), QStringLiteral("'5'"), 9, QStringLiteral("'2026-01-05 08:00:00'"));
    Maquina(QStringLiteral("01"), QStringLiteral("B2"), QStringLiteral("'15'"), 100,
            QStringLiteral("'2025-12-31 23:00:00'"));
    Maquina(QStringLiteral("02"), QStringLiteral("A1"), QStringLiteral("'15'"), 10);
    Maquina(QStringLiteral("01"), QStringLiteral("A1"), QStringLiteral("NULL"), 10,
            QStringLiteral("'2026-01-05 07:59:59'"));
    Erro(QStringLiteral("02"), QStringLiteral("A1"), 1);
    AEnviar(QStringLiteral("10"), QStringLiteral("A1"), 2);
    AEnviar(QStringLiteral("01"), QStringLiteral("B2"), 1);
    AEnviar(QStringLiteral("02"), QStringLiteral("A1"), 2);
  }
};

TEST_F(GradeOrdenacaoTeste, CadaTituloOrdenaPorSeuCampoEDepoisPelaFilial) {
  Preencher();
  Atualizar();
  // Before any click: the status statement's order, machine then branch name.
  EXPECT_EQ(Ordem(), (QStringList{"02/A1", "10/A1", "01/A1", "01/B2"}));

  // "Filial" goes by branch code and machine, not by the name shown.
  ClicarTitulo(Coluna(CampoStatus::NOME));
  EXPECT_EQ(Ordem(), (QStringList{"01/A1", "01/B2", "02/A1", "10/A1"}));
  EXPECT_EQ(Celula(0, 0), QStringLiteral("01 - Zeta"));
  EXPECT_EQ(Celula(3, 0), QStringLiteral("10 - Meio"));

  // "Intervalo" compares texts: empty first, "15" before "5"; equal ones by
  // branch code.
  ClicarTitulo(Coluna(CampoStatus::INTERVALO));
  EXPECT_EQ(Ordem(), (QStringList{"01/A1", "01/B2", "02/A1", "10/A1"}));
  const int intervalo = Coluna(CampoStatus::INTERVALO);
  EXPECT_EQ((QStringList{Celula(0, intervalo), Celula(1, intervalo), Celula(2, intervalo), Celula(3, intervalo)}),
            (QStringList{"", "15", "15", "5"}));

  // Counts by value (9 before 10 before 100), ties by branch code.
  ClicarTitulo(Coluna(CampoStatus::QTDREGRECEB));
  EXPECT_EQ(Ordem(), (QStringList{"10/A1", "01/A1", "02/A1", "01/B2"}));

  // Dates by time, not by their "dd/mm/yyyy" text; no date first.
  ClicarTitulo(Coluna(CampoStatus::ULTRECEB));
  EXPECT_EQ(Ordem(), (QStringList{"02/A1", "01/B2", "01/A1", "10/A1"}));

  // "Erro?": "Não" before "Sim".
  ClicarTitulo(Coluna(CampoStatus::STATUSERRO));
  EXPECT_EQ(Ordem(), (QStringList{"01/A1", "01/B2", "10/A1", "02/A1"}));

  // "A serem enviados": 0, 1, then the two with 2 by branch code; the same
  // title again changes nothing.
  ClicarTitulo(Coluna(CampoStatus::QTDREGENVIAR));
  const QStringList porEnviar{"01/A1", "01/B2", "02/A1", "10/A1"};
  EXPECT_EQ(Ordem(), porEnviar);
  ClicarTitulo(Coluna(CampoStatus::QTDREGENVIAR));
  EXPECT_EQ(Ordem(), porEnviar);
  EXPECT_EQ(painel.Filiais()->Ordem(), (QList<CampoStatus>{CampoStatus::QTDREGENVIAR, CampoStatus::CODEMPRESA}));
}

TEST_F(GradeOrdenacaoTeste, AOrdemValeParaAsAtualizacoesSeguintes) {
  Preencher();
  Atualizar();
  ClicarTitulo(Coluna(CampoStatus::QTDREGENVIAR));
  EXPECT_EQ(Ordem(), (QStringList{"01/A1", "01/B2", "02/A1", "10/A1"}));

  // New counts and a new machine: the refresh places every row by them.
  AEnviar(QStringLiteral("01"), QStringLiteral("A1"), 3);
  Filial(QStringLiteral("03"), QStringLiteral("Nova"));
  Maquina(QStringLiteral("03"), QStringLiteral("C1"));
  Atualizar();
  EXPECT_EQ(Ordem(), (QStringList{"03/C1", "01/B2", "02/A1", "10/A1", "01/A1"}));
  const int enviar = Coluna(CampoStatus::QTDREGENVIAR);
  EXPECT_EQ(Celula(4, enviar), QStringLiteral("3"));

  // The timer's refresh keeps it too.
  painel.TimerTimer();
  EXPECT_EQ(Ordem(), (QStringList{"03/C1", "01/B2", "02/A1", "10/A1", "01/A1"}));

  // Another title replaces the order.
  ClicarTitulo(Coluna(CampoStatus::NOME));
  Atualizar();
  EXPECT_EQ(Ordem(), (QStringList{"01/A1", "01/B2", "02/A1", "03/C1", "10/A1"}));
  EXPECT_TRUE(dialogos.Caixas().isEmpty()) << dialogos.Textos().join(u'\n').toStdString();
}

// Tooltips: the age of each date, the trend and time to catch up of each
// count, from the refreshes the window has seen; the cells stay as they are.
TEST_F(GradeOrdenacaoTeste, DicasContamIdadeTendenciaEPrevisao) {
  QDateTime agora(QDate(2026, 3, 2), QTime(8, 0));
  painel.Historico().DefinirRelogio([&agora] { return agora; });
  Filial(QStringLiteral("01"), QStringLiteral("Loja"));
  Filial(QStringLiteral("02"), QStringLiteral("Outra"));
  Maquina(QStringLiteral("01"), QStringLiteral("A1"), QStringLiteral("'5'"), 10,
          QStringLiteral("'2026-03-02 07:57:00'"));
  Maquina(QStringLiteral("02"), QStringLiteral("B1"));
  AEnviar(QStringLiteral("01"), QStringLiteral("A1"), 6);
  Atualizar();
  ClicarTitulo(Coluna(CampoStatus::NOME));
  const auto dica = [this](int coluna) { return grid->model()->index(0, coluna).data(Qt::ToolTipRole); };
  const int receber = Coluna(CampoStatus::QTDREGRECEB), enviar = Coluna(CampoStatus::QTDREGENVIAR),
            fila = Coluna(CampoStatus::QTDREGFILA);
  EXPECT_EQ(dica(Coluna(CampoStatus::ULTRECEB)).toString(), QStringLiteral("há 3 min"));
  EXPECT_EQ(dica(Coluna(CampoStatus::ULTENVIO)).toString(), QStringLiteral("nunca"));
  EXPECT_EQ(dica(receber).toString(), QStringLiteral("Últimos 15 min: sem dados suficientes\nPrevisão: sem dados"));

  // Five minutes later half the receipts went and four more sends wait.
  agora = agora.addSecs(5 * 60);
  banco.Executar(QStringLiteral("UPDATE IGFMAQUINA SET QTDREGRECEB = 5 WHERE MAQUINAECF = 'A1'"));
  AEnviar(QStringLiteral("01"), QStringLiteral("A1"), 4);
  Atualizar();
  EXPECT_EQ(dica(Coluna(CampoStatus::ULTRECEB)).toString(), QStringLiteral("há 8 min"));
  EXPECT_EQ(dica(receber).toString(), QStringLiteral("Últimos 15 min: caiu 5 em 5 min\nPrevisão: ≈ 5 min"));
  EXPECT_EQ(dica(enviar).toString(), QStringLiteral("Últimos 15 min: subiu 4 em 5 min\nPrevisão: crescendo"));
  EXPECT_EQ(dica(fila).toString(), QStringLiteral("Últimos 15 min: sem variação\nPrevisão: em dia"));
  EXPECT_FALSE(dica(Coluna(CampoStatus::NOME)).isValid());
  EXPECT_FALSE(dica(Coluna(CampoStatus::STATUSERRO)).isValid());
  // The other machine's row has its own history.
  EXPECT_EQ(grid->model()->index(1, receber).data(Qt::ToolTipRole).toString(),
            QStringLiteral("Últimos 15 min: sem variação\nPrevisão: em dia"));
  EXPECT_EQ((QStringList{Celula(0, 0), Celula(0, receber), Celula(0, enviar), Celula(0, fila)}),
            (QStringList{"01 - Loja", "5", "10", "0"}));

  // The grid shows it as the operator rests the pointer on the cell.
  QHelpEvent pedido(QEvent::ToolTip, Centro(0, receber), grid->viewport()->mapToGlobal(Centro(0, receber)));
  QApplication::sendEvent(grid->viewport(), &pedido);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("Últimos 15 min: caiu 5 em 5 min\nPrevisão: ≈ 5 min"));
  QToolTip::hideText();
}

// The grid's rows map back to the right stored rows: a row moved by the sort
// is the one handed over and shown.
TEST(TabelaStatusOrdem, TabelaOrdenadaAoSerPreenchida) {
  TabelaStatus tabela;
  tabela.Ordenar({CampoStatus::INTERVALO, CampoStatus::CODEMPRESA});
  const QStringList intervalos{"5", "15", "", "15"};
  const QStringList filiais{"01", "03", "02", "02"};
  for (int i = 0; i < intervalos.size(); ++i) {
    const int linha = tabela.Acrescentar();
    EXPECT_EQ(linha, i) << "rows keep their number of adding";
    tabela.SetTexto(linha, CampoStatus::CODEMPRESA, filiais[i]);
    tabela.SetTexto(linha, CampoStatus::INTERVALO, intervalos[i]);
    tabela.SetTexto(linha, CampoStatus::NOME, QStringLiteral("F%1").arg(i));
  }
  QStringList nomes;
  for (int i = 0; i < tabela.rowCount(); ++i) nomes << tabela.index(i, 0).data().toString();
  EXPECT_EQ(nomes, (QStringList{"F2", "F3", "F1", "F0"}));
  EXPECT_EQ(tabela.Linha(0).NOME, QStringLiteral("F0"));
  EXPECT_EQ(tabela.LinhaExibida(0).NOME, QStringLiteral("F2"));

  // A change of a sort field moves its row at once.
  tabela.SetTexto(0, CampoStatus::INTERVALO, QStringLiteral("1"));
  EXPECT_EQ(tabela.index(1, 0).data().toString(), QStringLiteral("F0"));
}

}  // namespace
