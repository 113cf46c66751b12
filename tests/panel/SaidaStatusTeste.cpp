#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "SaidaStatusLeitura.h"
#include "panel/FormatoDataHora.h"
#include "panel/SaidaStatus.h"
#include "panel/VerificacaoStatus.h"

namespace {

using SaidaStatusLeitura::LerCsv;
using SaidaStatusLeitura::LerPrometheus;

LinhaStatus Linha(const QString& cod, const QString& nome, const QString& maquina, const QString& erro) {
  LinhaStatus linha;
  linha.SetTexto(CampoStatus::CODEMPRESA, cod);
  linha.SetTexto(CampoStatus::NOME, nome);
  linha.SetTexto(CampoStatus::MAQUINAECF, maquina);
  linha.SetTexto(CampoStatus::STATUSERRO, erro);
  return linha;
}

// Rows the rules do not foresee: quotes, separators, line breaks, the C1
// block, empty and long identifiers, negative counts, dates far out.
std::vector<LinhaStatus> LinhasEstranhas() {
  LinhaStatus a = Linha("01", "01 - O \"Bar\"; d'Ajuda, \u20AC\u0081\u008D\u009D", "M1\\", "Sim");
  a.INTERVALO = "30";
  a.QTDREGRECEB = -7;
  a.QTDREGENVIAR = 2147483647;
  a.QTDREGFILA = 3;
  a.ULTRECEB = QDateTime(QDate(1850, 1, 2), QTime(3, 4, 5));
  a.ULTENVIO = QDateTime(QDate(2150, 12, 31), QTime(0, 0));
  LinhaStatus b = Linha("02", QString(), QString(), "Não");
  LinhaStatus c = Linha("02", "02 - linha\r\nquebrada", "M1\\", "Não");
  LinhaStatus d = Linha("01", "01 - repetida", "M1\\", "Não");
  return {a, b, c, d};
}

TEST(SaidaStatus, CsvEJsonBemFormadosELidosDeVolta) {
  const auto linhas = LinhasEstranhas();

  const QList<QStringList> csv = LerCsv(SaidaStatus::Csv(linhas));
  ASSERT_EQ(csv.size(), 5);
  EXPECT_EQ(csv[0], (QStringList{"CODEMPRESA", "NOME", "MAQUINAECF", "INTERVALO", "QTDREGRECEB", "ULTRECEB",
                                 "ULTENVIO", "QTDREGENVIAR", "STATUSERRO", "QTDREGFILA"}));
  EXPECT_EQ(csv[1], (QStringList{"01", linhas[0].NOME, "M1\\", "30", "-7", "1850-01-02T03:04:05",
                                 "2150-12-31T00:00:00", "2147483647", "Sim", "3"}));
  EXPECT_EQ(csv[2], (QStringList{"02", "", "", "", "0", "", "", "0", "Não", "0"}));
  EXPECT_EQ(csv[3][1], QStringLiteral("02 - linha\r\nquebrada"));

  QJsonParseError erro;
  const QJsonDocument json = QJsonDocument::fromJson(SaidaStatus::Json(linhas), &erro);
  ASSERT_EQ(erro.error, QJsonParseError::NoError) << erro.errorString().toStdString();
  ASSERT_TRUE(json.isArray());
  ASSERT_EQ(json.array().size(), 4);
  const QJsonObject primeira = json.array().at(0).toObject();
  EXPECT_EQ(primeira.keys().size(), 10);
  EXPECT_EQ(primeira.value("NOME").toString(), linhas[0].NOME);
  EXPECT_EQ(primeira.value("MAQUINAECF").toString(), QStringLiteral("M1\\"));
  EXPECT_TRUE(primeira.value("QTDREGRECEB").isDouble());
  EXPECT_EQ(primeira.value("QTDREGRECEB").toInt(), -7);
  EXPECT_EQ(primeira.value("QTDREGENVIAR").toInteger(), 2147483647);
  EXPECT_EQ(primeira.value("ULTRECEB").toString(), QStringLiteral("1850-01-02T03:04:05"));
  EXPECT_EQ(primeira.value("ULTENVIO").toString(), QStringLiteral("2150-12-31T00:00:00"));
  const QJsonObject segunda = json.array().at(1).toObject();
  EXPECT_TRUE(segunda.value("ULTRECEB").isNull());
  EXPECT_TRUE(segunda.value("ULTENVIO").isNull());
  EXPECT_EQ(segunda.value("STATUSERRO").toString(), QStringLiteral("Não"));
  EXPECT_TRUE(SaidaStatus::Json({}).trimmed() == "[]");
  EXPECT_EQ(LerCsv(SaidaStatus::Csv({})).size(), 1) << "the header alone";
}

TEST(SaidaStatus, PrometheusETabela) {
  const auto linhas = LinhasEstranhas();
  const auto amostras = LerPrometheus(SaidaStatus::Prometheus(linhas));
  ASSERT_FALSE(amostras.isEmpty()) << SaidaStatus::Prometheus(linhas).toStdString();
  EXPECT_EQ(amostras.value("painel_integracao_maquinas"), 4);
  EXPECT_EQ(amostras.value("painel_integracao_registros_a_receber{filial=\"01\",maquina=\"M1\\\\\"}"), -7);
  EXPECT_EQ(amostras.value("painel_integracao_erros_nao_conferidos{filial=\"01\",maquina=\"M1\\\\\"}"), 1);
  EXPECT_EQ(amostras.value("painel_integracao_erros_nao_conferidos{filial=\"02\",maquina=\"\"}"), 0);
  EXPECT_EQ(amostras.value("painel_integracao_ultimo_recebimento_timestamp_seconds{filial=\"01\",maquina=\"M1\\\\\"}"),
            double(linhas[0].ULTRECEB.toSecsSinceEpoch()));
  EXPECT_FALSE(amostras.contains("painel_integracao_ultimo_envio_timestamp_seconds{filial=\"02\",maquina=\"\"}"))
      << "an absent date has no sample";
  // The fourth row repeats the first one's branch and machine.
  EXPECT_EQ(amostras.value("painel_integracao_registros_na_fila{filial=\"01\",maquina=\"M1\\\\\",repeticao=\"2\"}"), 0);

  FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
  const QStringList tabela = QString::fromUtf8(SaidaStatus::Tabela(linhas)).split(u'\n');
  ASSERT_EQ(tabela.size(), 7) << "titles, rule, four rows, the final line break";
  EXPECT_TRUE(tabela[0].startsWith(QStringLiteral("Filial")));
  for (const QString titulo : {"Maq. ECF", "Erro?", "Intervalo", "Último Recebimento", "Último Envio",
                               "A serem recebidos", "A serem enviados", "Registros na Fila"})
    EXPECT_TRUE(tabela[0].contains(titulo)) << titulo.toStdString();
  EXPECT_TRUE(tabela[2].contains(QStringLiteral("02/01/1850 03:04:05")));
  EXPECT_TRUE(tabela[2].contains(QStringLiteral("31/12/2150 ")));
  EXPECT_TRUE(tabela[2].contains(QStringLiteral("\u20AC???"))) << "control characters do not reach the terminal";
  EXPECT_TRUE(tabela[4].contains(QStringLiteral("02 - linha??quebrada")));
  // Columns line up: every title starts where the rule's dashes do.
  EXPECT_EQ(tabela[0].indexOf(QStringLiteral("Erro?")), tabela[2].indexOf(QStringLiteral("Sim")));
}

TEST(VerificacaoStatus, CodigosDeSaidaDoPlugin) {
  const QDateTime agora(QDate(2024, 6, 1), QTime(12, 0));
  LinhaStatus recente = Linha("01", "01 - A", "CX01", "Não");
  recente.ULTRECEB = agora.addSecs(-59 * 60);
  recente.ULTENVIO = agora.addSecs(-60 * 60);
  recente.QTDREGENVIAR = 4;
  recente.QTDREGFILA = 2;
  LinhaStatus antiga = recente;
  antiga.SetTexto(CampoStatus::MAQUINAECF, "CX|2");
  antiga.ULTENVIO = agora.addSecs(-61 * 60);
  LinhaStatus semData = recente;
  semData.SetTexto(CampoStatus::MAQUINAECF, "CX03");
  semData.ULTRECEB = QDateTime();
  LinhaStatus comErro = recente;
  comErro.SetTexto(CampoStatus::CODEMPRESA, "02");
  comErro.SetTexto(CampoStatus::STATUSERRO, "Sim");

  auto ok = VerificacaoStatus::Verificar({recente}, 60, agora);
  EXPECT_EQ(ok.CodigoSaida, VerificacaoStatus::Ok);
  EXPECT_EQ(ok.Linha, QStringLiteral("PAINEL-INTEGRACAO OK - 1 máquina(s) em dia | maquinas=1 com_erro=0 atrasadas=0 "
                                     "a_receber=0 a_enviar=4 na_fila=2"));

  auto alerta = VerificacaoStatus::Verificar({recente, antiga, semData}, 60, agora);
  EXPECT_EQ(alerta.CodigoSaida, VerificacaoStatus::Alerta);
  EXPECT_TRUE(alerta.Linha.startsWith(QStringLiteral(
      "PAINEL-INTEGRACAO WARNING - 2 máquina(s) sem recebimento ou envio há mais de 60 minuto(s): 01/CX?2, 01/CX03 |")))
      << alerta.Linha.toStdString();
  EXPECT_EQ(alerta.Linha.count(u'|'), 1) << "a machine name never opens the performance data";
  EXPECT_EQ(VerificacaoStatus::Verificar({recente}, 58, agora).CodigoSaida, VerificacaoStatus::Alerta);

  auto critico = VerificacaoStatus::Verificar({antiga, comErro}, 60, agora);
  EXPECT_EQ(critico.CodigoSaida, VerificacaoStatus::Critico);
  EXPECT_TRUE(critico.Linha.startsWith(
      QStringLiteral("PAINEL-INTEGRACAO CRITICAL - 1 máquina(s) com erros não conferidos: 02/CX01; 1 máquina(s)")))
      << critico.Linha.toStdString();
  EXPECT_TRUE(critico.Linha.endsWith(QStringLiteral("| maquinas=2 com_erro=1 atrasadas=1 a_receber=0 a_enviar=8 "
                                                    "na_fila=4")));

  auto falhou = VerificacaoStatus::Falhou(QStringLiteral("Falha ao conectar | x.\r\nEntre em contato."));
  EXPECT_EQ(falhou.CodigoSaida, VerificacaoStatus::Desconhecido);
  EXPECT_EQ(falhou.Linha, QStringLiteral("PAINEL-INTEGRACAO UNKNOWN - Falha ao conectar ? x."));
}

}  // namespace
