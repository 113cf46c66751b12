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
