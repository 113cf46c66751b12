#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <chrono>
#include <functional>
#include <thread>

#include "DialogosGravados.h"
#include "TransporteCarregado.h"
#include "platform/VersaoSistema.h"
#include "app/ui/TFPainel.h"
#include "platform/Windows1252.h"
#include "usage/ParametrosAnalytics.h"
#include "usage/TRESTBO.h"
#include "usage/TSessao.h"
#include "usage/TThreadTrabalho.h"
#include "windows/TFMensagem.h"
#include "windows/TFUltRegSincro.h"
#include "windows/TFVisualizar.h"
#include "windows/TFVisualizarLog.h"

// Every window reports its caption each time it is shown. The panel has no
// configuration here: its boxes and the windows' failed loads are recorded
// and dropped, only the reports are looked at.
namespace {

const QString kSemIni = QStringLiteral("/nao/existe/Caminho.ini");

class RelatoJanelas : public ::testing::Test {
 protected:
  void SetUp() override {
    DefinirVersaoSistema(QString::fromLatin1(kVersaoSistema));
    FExistentes = TThreadTrabalho::Existentes();
  }
  void TearDown() override {
    for (int i = 0; i < 6000 && TThreadTrabalho::Existentes() > FExistentes; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    TSessao::getInstancia().SetFilialLogada(nullptr);
    DefinirURLBaseAnalytics(QString());
    DialogosGravados::Instancia().Limpar();
  }

  // Shows each window once, then closes and frees it; the main window first,
  // as the program does. Returns the captions in the order shown.
  static QStringList MostrarTodas(const std::function<void()>& depoisDeCada) {
    QStringList titulos;
    TFPainel painel(kSemIni);
    painel.show();
    titulos << painel.windowTitle();
    depoisDeCada();
    const auto mostrar = [&](QWidget* janela) {
      QPointer<QWidget> guarda(janela);
      janela->show();
      titulos << janela->windowTitle();
      depoisDeCada();
      if (guarda) janela->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (guarda) delete janela;
    };
    mostrar(new TFVisualizar());
    mostrar(new TFMensagem());
    mostrar(new TFUltRegSincro());
    mostrar(new TFVisualizarLog());
    painel.hide();
    return titulos;
  }

  int FExistentes = 0;
};

TEST_F(RelatoJanelas, SemFilialLogadaNenhumaJanelaCarregaBibliotecaOuIniciaThread) {
  TRESTBO::SetCaminhoBiblioteca(QStringLiteral(PAINEL_TRANSPORTE_TESTE));
  const QStringList titulos = MostrarTodas([this] { EXPECT_EQ(TThreadTrabalho::Existentes(), FExistentes); });
  EXPECT_EQ(titulos.size(), 5);
  EXPECT_FALSE(TRESTBO::Carregado());
}

TEST_F(RelatoJanelas, CadaJanelaMostradaRelataSeuTitulo) {
  const TransporteCarregado transporte = TransporteCarregado::Usar();
  TFilial filial{QStringLiteral("Loja"), QStringLiteral("12345678000199")};
  TSessao::getInstancia().SetFilialLogada(&filial);
  DefinirURLBaseAnalytics(QStringLiteral("http://analytics.local"));

  QStringList relatadas;
  int chamadas = 0;
  const QStringList titulos = MostrarTodas([&] {
    ASSERT_EQ(transporte.Aguardar(++chamadas), chamadas);
    const QByteArray corpo = Windows1252::deUnicode(QString::fromStdU16String(transporte.Registro().Textos[5]));
    const int inicio = corpo.indexOf(" \"rotina\": \"");
    ASSERT_GE(inicio, 0) << corpo.constData();
    const int valor = inicio + int(qstrlen(" \"rotina\": \""));
    relatadas << Windows1252::paraUnicode(corpo.mid(valor, corpo.indexOf("\",", valor) - valor));
  });
  EXPECT_EQ(relatadas, titulos);
  EXPECT_EQ(titulos, (QStringList{
                         QStringLiteral("Painel de Controle para Integração - VKT Informática - v.29.07ad0"),
                         QStringLiteral("Visualizar Erros"), QStringLiteral("Informação"),
                         QStringLiteral("Últimos/Próximos registros sincronizados"),
                         QStringLiteral("Visualizar Log")}));
}

}  // namespace
