#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "panel/FormatoDataHora.h"
#include "panel/HistoricoStatus.h"
#include "panel/RegrasHistorico.h"
#include "panel/SaidaPagina.h"

namespace {

using Contagem = RegrasHistorico::Contagem;

const QDateTime kInicio(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);

QDateTime Minuto(int minuto, int segundo = 0) { return kInicio.addSecs(minuto * 60 + segundo); }

// A made-up machine: one sample per call, at the minute given.
class Serie {
 public:
  Serie& Em(int minuto, qint32 receber, qint32 enviar = 0, qint32 fila = 0, int segundo = 0) {
    FLinha.QTDREGRECEB = receber;
    FLinha.QTDREGENVIAR = enviar;
    FLinha.QTDREGFILA = fila;
    FHistorico.Registrar(FLinha, Minuto(minuto, segundo).toSecsSinceEpoch());
    return *this;
  }
  // The machine's last receipt and send, both at this minute from now on.
  Serie& Datas(int minuto) {
    FLinha.ULTRECEB = FLinha.ULTENVIO = Minuto(minuto);
    return *this;
  }
  QString Tendencia(Contagem contagem, int agora) const {
    return RegrasHistorico::TextoTendencia(RegrasHistorico::TendenciaDe(FHistorico, contagem, Minuto(agora)));
  }
  QString Previsao(Contagem contagem, int agora) const {
    return RegrasHistorico::Previsao(RegrasHistorico::TendenciaDe(FHistorico, contagem, Minuto(agora)));
  }
  QString DaMaquina(int agora) const { return RegrasHistorico::PrevisaoMaquina(FHistorico, Minuto(agora)); }
  const HistoricoMaquina& Historico() const { return FHistorico; }

 private:
  LinhaStatus FLinha;
  HistoricoMaquina FHistorico;
};

TEST(HistoricoRegras, IdadeDeUmaData) {
  const QDateTime agora = Minuto(0);
  EXPECT_EQ(RegrasHistorico::Idade(QDateTime(), agora), "nunca");
  EXPECT_EQ(RegrasHistorico::Idade(agora.addSecs(90), agora), "no futuro");
  EXPECT_EQ(RegrasHistorico::Idade(agora.addSecs(-59), agora), "há menos de 1 min");
  EXPECT_EQ(RegrasHistorico::Idade(agora.addSecs(-3 * 60 - 59), agora), "há 3 min");
  EXPECT_EQ(RegrasHistorico::Idade(agora.addSecs(-2 * 3600 - 59 * 60), agora), "há 2 h");
  EXPECT_EQ(RegrasHistorico::Idade(agora.addDays(-2), agora), "há 2 dias");
  EXPECT_EQ(RegrasHistorico::Idade(QDateTime(QDate(1960, 1, 1), QTime(0, 0), Qt::UTC), agora), "há 24167 dias");
}

TEST(HistoricoRegras, DrenagemConstanteCrescimentoEParada) {
  Serie serie;
  // Receipts drain 10 a minute; sends grow 2 a minute; the queue sits at 40.
  // Several samples in one minute are thinned to the last.
  for (int m = 0; m <= 20; ++m) serie.Em(m, 300 - 10 * m, 5 + 2 * m, 40, 0).Em(m, 300 - 10 * m, 5 + 2 * m, 40, 30);
  EXPECT_EQ(serie.Historico().QtdPontos(), 21);

  EXPECT_EQ(serie.Tendencia(Contagem::Receber, 20), "Últimos 15 min: caiu 150 em 15 min");
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 20), "≈ 10 min");
  EXPECT_EQ(serie.Tendencia(Contagem::Enviar, 20), "Últimos 15 min: subiu 30 em 15 min");
  EXPECT_EQ(serie.Previsao(Contagem::Enviar, 20), "crescendo");
  EXPECT_EQ(serie.Tendencia(Contagem::Fila, 20), "Últimos 15 min: sem variação");
  EXPECT_EQ(serie.Previsao(Contagem::Fila, 20), "parado");
  // The machine is as bad as its worst backlog.
  EXPECT_EQ(serie.DaMaquina(20), "crescendo");

  // Sends caught up and the queue emptied: the receipts decide; a backlog
  // of 1 left at the pace is still a minute, a slow one is in hours.
  serie.Em(21, 90, 0, 0).Em(22, 1, 0, 0);
  EXPECT_EQ(serie.Previsao(Contagem::Enviar, 22), "em dia");
  EXPECT_EQ(serie.DaMaquina(22), "≈ 1 min");
  Serie lenta;
  lenta.Em(0, 1000).Em(10, 990);
  EXPECT_EQ(lenta.Previsao(Contagem::Receber, 10), "≈ 17 h");
  lenta.Em(12, 990);
  EXPECT_EQ(lenta.DaMaquina(12), "≈ 20 h");  // the same fall, over a longer time
  Serie quaseParada;
  quaseParada.Em(0, 100000).Em(14, 99999);
  EXPECT_EQ(quaseParada.Previsao(Contagem::Receber, 14), "≈ 972 dias");
}

TEST(HistoricoRegras, ReinicioDaMaquinaNaoContaComoCrescimento) {
  Serie serie;
  serie.Datas(0);
  for (int m = 0; m <= 5; ++m) serie.Datas(m).Em(m, 50 - 9 * m);
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 5), "≈ 1 min");
  // Reinstalled: its dates go back and its backlog starts again at 500.
  serie.Datas(-600).Em(6, 500);
  EXPECT_EQ(serie.Tendencia(Contagem::Receber, 6), "Últimos 15 min: sem dados suficientes");
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 6), "sem dados");
  serie.Datas(7).Em(7, 450).Datas(8).Em(8, 400);
  EXPECT_EQ(serie.Tendencia(Contagem::Receber, 8), "Últimos 15 min: caiu 100 em 2 min");
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 8), "≈ 8 min");
  // A date becoming absent is a restart too.
  serie.Em(9, 350);
  LinhaStatus semDatas;
  semDatas.QTDREGRECEB = 900;
  HistoricoMaquina historico = serie.Historico();
  historico.Registrar(semDatas, Minuto(10).toSecsSinceEpoch());
  EXPECT_EQ(RegrasHistorico::Previsao(RegrasHistorico::TendenciaDe(historico, Contagem::Receber, Minuto(10))),
            "sem dados");
}

TEST(HistoricoRegras, LacunaSemLeiturasEJanelaFixa) {
  Serie serie;
  for (int m = 0; m <= 5; ++m) serie.Em(m, 100 - m);
  // The database could not be read from minute 6 to 39: after 15 minutes
  // without samples there is nothing to tell.
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 30), "sem dados");
  // Back at 40: one sample, then the pace over the time really elapsed.
  serie.Em(40, 80);
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 41), "sem dados");
  serie.Em(43, 74);
  EXPECT_EQ(serie.Tendencia(Contagem::Receber, 43), "Últimos 15 min: caiu 6 em 3 min");
  EXPECT_EQ(serie.Previsao(Contagem::Receber, 43), "≈ 37 min");
  // A gap inside the window: the change over the minutes between.
  Serie lacuna;
  lacuna.Em(30, 60).Em(44, 32);
  EXPECT_EQ(lacuna.Tendencia(Contagem::Receber, 45), "Últimos 15 min: caiu 28 em 14 min");
  EXPECT_EQ(lacuna.Previsao(Contagem::Receber, 45), "≈ 16 min");

  // A day and more of samples: the ring keeps the last day only, oldest first.
  Serie longa;
  const int minutos = HistoricoMaquina::kPontos + 100;
  for (int m = 0; m < minutos; ++m) longa.Em(m, m);
  EXPECT_EQ(longa.Historico().QtdPontos(), HistoricoMaquina::kPontos);
  EXPECT_EQ(longa.Historico().Ponto(0).Receber, 100);
  EXPECT_EQ(longa.Historico().Ultimo().Receber, minutos - 1);
  // The drawing: at most the points asked for, the newest always last.
  const auto grafico = RegrasHistorico::Grafico(longa.Historico(), 48);
  EXPECT_EQ(grafico.size(), 48u);
  EXPECT_EQ(grafico.back().second, minutos - 1);
  EXPECT_LT(grafico.front().second, grafico[1].second);
  // The clock set back: the minutes no longer order, the history restarts.
  longa.Em(10, 7);
  EXPECT_EQ(longa.Historico().QtdPontos(), 1);
}

TEST(HistoricoRegras, MaquinasDoPainelEsquecidasDepoisDeUmDia) {
  HistoricoStatus historico;
  LinhaStatus a, b;
  a.SetTexto(CampoStatus::CODEMPRESA, QStringLiteral("01"));
  a.SetTexto(CampoStatus::MAQUINAECF, QStringLiteral("A1"));
  b.SetTexto(CampoStatus::CODEMPRESA, QStringLiteral("02"));
  b.SetTexto(CampoStatus::MAQUINAECF, QStringLiteral("A1"));
  historico.Registrar({a, b}, Minuto(0));
  historico.Registrar({a}, Minuto(HistoricoMaquina::kPontos - 1));
  EXPECT_EQ(historico.QtdMaquinas(), 2);
  historico.Registrar({a}, Minuto(HistoricoMaquina::kPontos));
  EXPECT_EQ(historico.QtdMaquinas(), 1);
  // The branch code is found with or without its trailing blank.
  int pontos = 0;
  EXPECT_TRUE(historico.Ler(QStringLiteral("01 "), QStringLiteral("A1"),
                            [&](const HistoricoMaquina& h) { pontos = h.QtdPontos(); }));
  EXPECT_EQ(pontos, 2);
  EXPECT_FALSE(historico.Ler(QStringLiteral("02"), QStringLiteral("A1"), [](const HistoricoMaquina&) {}));
}

}  // namespace

namespace {

// What the service's page reads: the window's columns ("Maq. ECF" only when
// shown), late rows by --max-age, and a machine's history or none.
TEST(HistoricoRegras, JsonDaPaginaColunasAtrasoEHistorico) {
  FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));
  LinhaStatus linha;
  linha.SetTexto(CampoStatus::CODEMPRESA, QStringLiteral("01"));
  linha.SetTexto(CampoStatus::MAQUINAECF, QStringLiteral("A1"));
  linha.SetTexto(CampoStatus::STATUSERRO, QStringLiteral("Sim"));
  linha.ULTRECEB = linha.ULTENVIO = Minuto(0);
  HistoricoStatus historico;
  historico.Registrar({linha}, Minuto(0));
  SaidaPagina::Estado estado;
  estado.Linhas = {linha};
  estado.IdadeMaximaMinutos = 30;
  const auto ler = [&](int agora) {
    return QJsonDocument::fromJson(SaidaPagina::Painel(estado, historico, Minuto(agora))).object();
  };
  QStringList titulos;
  for (const auto& coluna : ler(0)[QStringLiteral("colunas")].toArray())
    titulos << coluna.toObject()[QStringLiteral("titulo")].toString();
  EXPECT_EQ(titulos, (QStringList{"Filial", "Erro?", "Intervalo", "Último Recebimento", "Último Envio",
                                  "A serem recebidos", "A serem enviados", "Registros na Fila"}));
  estado.MostrarMaquina = true;
  EXPECT_EQ(ler(0)[QStringLiteral("colunas")].toArray().size(), 9);

  const QJsonObject agora = ler(30)[QStringLiteral("linhas")].toArray()[0].toObject();
  EXPECT_TRUE(agora[QStringLiteral("erro")].toBool());
  EXPECT_FALSE(agora[QStringLiteral("atrasada")].toBool());
  EXPECT_EQ(agora[QStringLiteral("idades")].toObject()[QStringLiteral("ULTENVIO")].toString(), "há 30 min");
  EXPECT_TRUE(ler(31)[QStringLiteral("linhas")].toArray()[0].toObject()[QStringLiteral("atrasada")].toBool());

  QByteArray json;
  EXPECT_TRUE(SaidaPagina::Historico(historico, QStringLiteral("01"), QStringLiteral("A1"), json));
  EXPECT_EQ(QJsonDocument::fromJson(json).object()[QStringLiteral("pontos")].toArray().size(), 1);
  EXPECT_FALSE(SaidaPagina::Historico(historico, QStringLiteral("01"), QStringLiteral("B1"), json));
}

}  // namespace
