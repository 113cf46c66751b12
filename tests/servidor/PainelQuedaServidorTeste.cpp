#include <gtest/gtest.h>

#include <QProcess>

#include "PainelServidor.h"
#include "model/Catalogo.h"

namespace {

const QString kRecusaRede = QStringLiteral(
    "Unable to complete network request to host \"localhost\".\n-Failed to establish a connection.");

bool PerdaDeConexao(const QString& texto) {
  return texto == QStringLiteral("Error reading data from the connection.") ||
         texto == QStringLiteral("Error writing data to the connection.");
}

TEST_F(PainelServidor, ServidorMortoSobOPainelUmaCaixaSoPorMaisTicksQueHajaEVoltaSozinho) {
  Filial(QStringLiteral("01"), QStringLiteral("Centro"));
  Maquina(QStringLiteral("01"), QStringLiteral("CX01"));
  TFPainel& painel = Painel();
  ASSERT_TRUE(FDialogos.Caixas().isEmpty()) << FDialogos.Textos().join(u'\n').toStdString();
  ClicarBotao("btAtualizar");
  ASSERT_EQ(Linhas(), 1);

  // The timer keeps ticking while the first error box is open, as it does
  // behind a modal box: every tick tries again and fails, none stacks a box.
  Temporizador* timer = painel.Temporizacao();
  int tentativasComCaixaAberta = 0;
  painel.cnVelmora().SetObservador([](const QString&) {});
  FDialogos.AoMostrar([&] {
    const quint64 inicio = timer->PeriodosIniciados();
    EXPECT_TRUE(Esperar([&] { return timer->PeriodosIniciados() >= inicio + 6; }));
    tentativasComCaixaAberta = int(timer->PeriodosIniciados() - inicio);
    timer->SetIntervalo(15000);
    timer->SetAtivo(false);
  });
  MatarServidor();
  timer->SetIntervalo(50);
  timer->SetAtivo(true);
  ASSERT_TRUE(Esperar([&] { return !FDialogos.Caixas().isEmpty(); }));
  FDialogos.AoMostrar({});
  EXPECT_GE(tentativasComCaixaAberta, 6);
  ASSERT_EQ(FDialogos.Caixas().size(), 1) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(FDialogos.MaximoAbertas(), 1);
  EXPECT_EQ(FDialogos.Caixas()[0].Titulo, QStringLiteral("Erro"));
  EXPECT_TRUE(PerdaDeConexao(FDialogos.Caixas()[0].Texto)) << FDialogos.Caixas()[0].Texto.toStdString();
  EXPECT_FALSE(painel.cnVelmora().Aberta());

  // Still down: a refresh by hand reports why it cannot attach.
  ClicarBotao("btAtualizar");
  ASSERT_EQ(FDialogos.Caixas().size(), 2);
  EXPECT_EQ(FDialogos.Caixas()[1].Texto, kRecusaRede);
  EXPECT_TRUE(timer->Ativo()) << "the timer goes on after a failed refresh";
  timer->SetAtivo(false);

  // Back on the same port and database: the next refresh attaches again
  // and shows what the database holds now.
  FServidor.Iniciar();
  Maquina(QStringLiteral("01"), QStringLiteral("CX02"));
  ClicarBotao("btAtualizar");
  EXPECT_EQ(FDialogos.Caixas().size(), 2) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_TRUE(painel.cnVelmora().Aberta());
  ASSERT_EQ(Linhas(), 2);
  EXPECT_EQ(painel.Filiais()->index(1, 0).data().toString(), QStringLiteral("01 - Centro"));
}

// The real program, offscreen, with a refresh every second: when the
// database is shut down under it, it ends by itself with status 0 and shows
// nothing (a box would wait for an operator forever and the process would
// not end). Qt's own arguments go to Qt (the environment names no usable
// platform, so the window opens only if "-platform" reached Qt) and an
// option the program does not know is reported without keeping the window
// from opening.
TEST_F(PainelServidor, BancoDesligadoSobOProgramaEncerraSemMensagemComStatusZero) {
  Filial(QStringLiteral("01"), QStringLiteral("Centro"));
  Maquina(QStringLiteral("01"), QStringLiteral("CX01"));
  FBanco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', 1)"));

  QProcess programa;
  QProcessEnvironment ambiente = AmbientePrograma();
  ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nenhuma"));
  programa.setProcessEnvironment(ambiente);
  programa.setProgram(QStringLiteral(PAINEL_EXECUTAVEL));
  programa.setArguments({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
                         QStringLiteral("Fusion"), QStringLiteral("--do-lancador"), QStringLiteral("--ini=") + FIni});
  programa.start();
  ASSERT_TRUE(programa.waitForStarted(10000)) << programa.errorString().toStdString();

  // Attached as the configured user, and refreshing: the status statement
  // has run on its attachment.
  const QString refrescou = QStringLiteral(
      "SELECT COUNT(*) FROM MON$STATEMENTS S JOIN MON$ATTACHMENTS A ON A.MON$ATTACHMENT_ID = S.MON$ATTACHMENT_ID "
      "WHERE A.MON$USER = 'OPERADOR' AND S.MON$SQL_TEXT CONTAINING 'STATUSERRO'");
  ASSERT_TRUE(Esperar([&] {
    return programa.state() == QProcess::Running && FBanco.Valor(refrescou).toInt() > 0;
  })) << programa.readAllStandardError().toStdString();

  FServidor.DesligarBanco(FBanco.Caminho());
  const bool terminou = programa.waitForFinished(30000);
  const QByteArray saida = programa.readAllStandardOutput();
  const QByteArray erros = programa.readAllStandardError();
  FBanco.Conexao().Fechar();
  FServidor.ReligarBanco(FBanco.Caminho());
  ASSERT_TRUE(terminou) << "o programa não terminou: " << erros.toStdString();
  EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(programa.exitCode(), 0) << erros.toStdString();
  EXPECT_EQ(saida, QByteArray());
  EXPECT_EQ(QString::fromUtf8(erros), QStringLiteral("Opção desconhecida: --do-lancador\n"));
}

}  // namespace
