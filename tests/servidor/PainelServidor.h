#pragma once

#include <QApplication>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "ConfiguracaoTeste.h"
#include "DialogosGravados.h"
#include "TesteServidor.h"
#include "app/ui/TFPainel.h"
#include "panel/TabelaStatus.h"
#include "panel/Temporizador.h"

// The real main window attached to the test server the way the program is:
// through a Caminho.ini with the dedicated user and password encoded. Built
// after the server serves the fixture database, destroyed before it.
class PainelServidor : public TesteServidor {
 protected:
  void SetUp() override {
    TesteServidor::SetUp();
    if (HasFatalFailure()) return;
    FIni = ConfiguracaoTeste::Escrever(FPastaIni.path(), Caminho(), ServidorTeste::Usuario(), ServidorTeste::Senha());
  }

  void TearDown() override {
    FPainel.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // FormCreate attaches; the refresh timer is off until a test wants it.
  TFPainel& Painel() {
    if (!FPainel) {
      FPainel = std::make_unique<TFPainel>(FIni);
      FPainel->Temporizacao()->SetAtivo(false);
    }
    return *FPainel;
  }

  void Filial(const QString& codigo, const QString& nome) {
    FBanco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('%1', '%2')").arg(codigo, nome));
  }
  void Maquina(const QString& filial, const QString& maquina) {
    FBanco.Executar(
        QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('%1', '%2')").arg(filial, maquina));
  }
  void Erro(const QString& filial, const QString& maquina, int id, const QString& conferido) {
    FBanco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, "
                                   "CONFERIDO) VALUES ('%1', '%2', %3, CAST('2026-03-01 10:00:00' AS DATE) + %3, 'falha %3', '%4')")
                        .arg(filial, maquina)
                        .arg(id)
                        .arg(conferido));
  }

  int Linhas() { return Painel().Filiais()->rowCount(); }

  // The environment of the real program run as a child: offscreen, nothing
  // that would log it in by itself, and nothing on standard error but what
  // the program itself writes.
  QProcessEnvironment AmbientePrograma() const {
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Qt would tell that it has no runtime folder.
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), FPastaIni.path());
    for (const char* nome : {"ISC_USER", "ISC_PASSWORD", "FIREBIRD"}) ambiente.remove(QLatin1String(nome));
    // Under the sanitizer build the program keeps the sanitizers' settings,
    // leak checking included: a leak on its way out changes its exit status
    // and writes to standard error, and the tests that read them fail.
    return ambiente;
  }

  // A server's answers take longer than Qt Test's default wait.
  static bool Esperar(const std::function<bool()>& condicao, int milissegundos = 20000) {
    return QTest::qWaitFor(condicao, milissegundos);
  }

  // A click at a point (the middle when none is given).
  static void Clicar(QWidget* alvo, QPoint ponto = QPoint()) { QTest::mouseClick(alvo, Qt::LeftButton, {}, ponto); }
  // A double click on a cell of a grid, as the window system delivers it.
  static void DuploClique(QTableView* grid, const QModelIndex& indice) {
    const QPoint ponto = grid->visualRect(indice).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, ponto);
  }
  void ClicarBotao(const char* nome) {
    auto* botao = Painel().findChild<QPushButton*>(QLatin1String(nome));
    ASSERT_NE(botao, nullptr) << nome;
    Clicar(botao);
  }

  DialogosGravados& FDialogos = DialogosGravados::Instancia();
  QTemporaryDir FPastaIni;
  QString FIni;
  std::unique_ptr<TFPainel> FPainel;
};
