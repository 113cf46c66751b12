#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <climits>

#include "BancoTeste.h"
#include "panel/ParametrosPainel.h"
#include "panel/Temporizador.h"
#include "platform/Falha.h"

namespace {

QString Mensagem(const std::function<void()>& acao) {
  try {
    acao();
  } catch (const Falha& f) {
    return f.Mensagem();
  }
  return QStringLiteral("<sem falha>");
}

TEST(ParametrosPainel, IntervaloInicialDentroDosLimites) {
  BancoTeste banco;
  ConexaoBanco& conexao = banco.Conexao();
  EXPECT_EQ(ParametrosPainel::IntervaloInicial(conexao), QStringLiteral("15")) << "no row";
  banco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('OUTRO', 40)"));
  banco.Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', NULL)"));
  EXPECT_EQ(ParametrosPainel::IntervaloInicial(conexao), QStringLiteral("15")) << "absent value";
  const QList<QPair<int, QString>> casos = {{0, "15"},  {-5, "15"},  {1, "1"},   {7, "7"},
                                            {99, "99"}, {100, "99"}, {250, "99"}, {INT_MIN, "15"}};
  for (const auto& [valor, esperado] : casos) {
    banco.Executar(QStringLiteral("UPDATE PARADIV SET CAMPOINTEGER = %1 WHERE ID_DESCRICAO = 'TEMPOATUALIZACAOPAINEL'")
                       .arg(valor));
    EXPECT_EQ(ParametrosPainel::IntervaloInicial(conexao), esperado) << valor;
  }
}

TEST(ParametrosPainel, ColunaMaquinaSoComSMaiusculo) {
  BancoTeste banco;
  ConexaoBanco& conexao = banco.Conexao();
  EXPECT_FALSE(ParametrosPainel::MostraColunaMaquina(conexao)) << "empty PARAWEB";
  banco.Executar(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES ('s')"));
  EXPECT_FALSE(ParametrosPainel::MostraColunaMaquina(conexao));
  banco.Executar(QStringLiteral("UPDATE PARAWEB SET UTILIZAINTEGWEBSERVICE = NULL"));
  EXPECT_FALSE(ParametrosPainel::MostraColunaMaquina(conexao));
  banco.Executar(QStringLiteral("UPDATE PARAWEB SET UTILIZAINTEGWEBSERVICE = 'S'"));
  EXPECT_TRUE(ParametrosPainel::MostraColunaMaquina(conexao));
}

TEST(ParametrosPainel, PeriodoPelasRegrasDaPlataforma) {
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("5")), 5000u);
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("  7")), 7000u) << "leading blanks skipped";
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("+9")), 9000u);
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("$A")), 10000u) << "hexadecimal";
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("0")), 0u);
  EXPECT_EQ(ParametrosPainel::Periodo(QStringLiteral("-5")), 4294962296u) << "-5000 read as unsigned";
  EXPECT_EQ(Mensagem([] { ParametrosPainel::Periodo(QStringLiteral("ab")); }),
            QStringLiteral("'ab' is not a valid integer value"));
  EXPECT_EQ(Mensagem([] { ParametrosPainel::Periodo(QString()); }), QStringLiteral("'' is not a valid integer value"));
  EXPECT_EQ(Mensagem([] { ParametrosPainel::Periodo(QStringLiteral("5 ")); }),
            QStringLiteral("'5 ' is not a valid integer value"))
      << "trailing blanks are not skipped";
}

TEST(Temporizador, PeriodoSemSinalDe32BitsEEstados) {
  Temporizador timer;
  timer.SetIntervalo(15000);
  EXPECT_TRUE(timer.Ativo());
  EXPECT_TRUE(timer.Armado());
  EXPECT_EQ(timer.Espera(), 15000);

  // Switching to the state it already has changes nothing; on after off
  // starts a full new period.
  const quint64 periodos = timer.PeriodosIniciados();
  timer.SetAtivo(true);
  timer.SetIntervalo(15000);
  EXPECT_EQ(timer.PeriodosIniciados(), periodos);
  timer.SetAtivo(false);
  EXPECT_FALSE(timer.Armado());
  timer.SetAtivo(false);
  timer.SetAtivo(true);
  EXPECT_TRUE(timer.Armado());
  EXPECT_EQ(timer.PeriodosIniciados(), periodos + 1);

  // 0 never ticks, even when on.
  timer.SetIntervalo(0);
  EXPECT_TRUE(timer.Ativo());
  EXPECT_FALSE(timer.Armado());
  timer.SetAtivo(false);
  timer.SetAtivo(true);
  EXPECT_FALSE(timer.Armado());

  // Periods beyond a signed int are held at its largest value, never wrapped.
  timer.SetIntervalo(4294962296u);
  EXPECT_EQ(timer.Intervalo(), 4294962296u);
  EXPECT_TRUE(timer.Armado());
  EXPECT_EQ(timer.Espera(), INT_MAX);
  timer.SetIntervalo(0x80000000u);
  EXPECT_EQ(timer.Espera(), INT_MAX);
  timer.SetIntervalo(0x7FFFFFFFu);
  EXPECT_EQ(timer.Espera(), INT_MAX);

  // Suspender holds it off while the body runs and on again afterwards,
  // also when the body fails.
  timer.SetIntervalo(1000);
  bool ativoDurante = true;
  timer.Suspender([&] { ativoDurante = timer.Ativo(); });
  EXPECT_FALSE(ativoDurante);
  EXPECT_TRUE(timer.Ativo());
  EXPECT_THROW(timer.Suspender([] { throw Falha(QStringLiteral("x")); }), Falha);
  EXPECT_TRUE(timer.Ativo());
  EXPECT_TRUE(timer.Armado());
}

TEST(Temporizador, DisparaQuandoArmado) {
  Temporizador timer;
  QSignalSpy disparos(&timer, &Temporizador::Disparou);
  timer.SetIntervalo(1);
  EXPECT_TRUE(disparos.wait());
  timer.SetAtivo(false);
  disparos.clear();
  QCoreApplication::processEvents();
  EXPECT_EQ(disparos.count(), 0) << "nothing ticks while off";
}

}  // namespace
