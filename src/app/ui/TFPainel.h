#pragma once

#include <QWidget>
#include <memory>

#include "app/TTransacaoDesc.h"
#include "panel/HistoricoStatus.h"
#include "platform/ConexaoBanco.h"

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;
class AtualizacaoPainel;
class Falha;
struct LinhaStatus;
class TabelaStatus;
class Temporizador;

// The main window: one per process, created at start and alive until the
// process ends. It owns the single database connection, the status rows, the
// refresh timer and the guarded transaction; the detail windows reach its
// operations through Instancia().
//
// Threads: the user-interface thread only.
class TFPainel : public QWidget {
  Q_OBJECT

 public:
  // The configuration file is looked for beside the executable unless a path
  // is given. `iniNomeado`: the operator named it (--ini), so a file that
  // cannot be read is reported as such.
  explicit TFPainel(const QString& arquivoIni = QString(), QWidget* parent = nullptr, bool iniNomeado = false);
  ~TFPainel() override;

  static TFPainel* Instancia() { return FInstancia; }

  // Start-up and failures.
  void FormCreate();
  void FormShow();
  void TratarExcecao(const Falha& falha);

  // Connection and guarded transactions.
  void ConectarBanco();
  void AtribuirConexao(QObject* janela);
  void IniciaTransacao();
  void ConfirmaTransacao();
  void CancelaTransacao();
  ConexaoBanco& cnVelmora() { return FConexao; }
  const TTransacaoDesc& TransacaoDesc() const { return FTransacaoDesc; }

  // Status rows, refresh and scheduling. AtualizarPainel leaves the timer
  // alone: its callers switch it off and on around it.
  void AtualizarPainel();
  qint32 ContarRegEnviar(const QString& codEmpresa, const QString& maquinaEcf);
  qint32 ContarRegFila(const QString& codEmpresa, const QString& maquinaEcf);
  void CarregarIntervalo();
  void ConfigurarColunaMaquina();
  void edtIntervaloExit();
  void TimerTimer();
  void btAtualizarClick();
  void btFecharClick();
  TabelaStatus* Filiais() const { return cdsFiliais; }
  // Every completed refresh since the window was created, for the tooltips.
  HistoricoStatus& Historico() { return FHistorico; }
  Temporizador* Temporizacao() const { return Timer; }

  // Grid interaction: sorting, the detail windows for the current row, the
  // reprocessing of errored queue entries. Each detail window is shown
  // modally; the openers return when it has closed.
  void GridPainelTitleClick(int coluna);
  void GridPainelCellClick(int coluna);
  void GridPainelEditButtonClick();
  void btUltRegClick();
  void btVisualizarClick();
  void btnReexecutaErrosClick();
  void VisualizarErros();
  void ReprocessarErros();

  const QString& ArquivoIni() const { return FArquivoIni; }

 protected:
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;
  bool eventFilter(QObject* alvo, QEvent* evento) override;

 private:
  void CriarControles();
  void CriarCabecalho();
  void CriarBotoes();
  void DefinirOrdemTabulacao();
  void FormKeyDown(QKeyEvent* tecla, bool& tratada);
  bool GradeKeyDown(QKeyEvent* tecla);
  // The row of the grid's current cell; the first row when no cell is
  // current yet; an empty row when the grid is empty.
  LinhaStatus LinhaAtual() const;
  // Shows a detail window modally with the current row handed over.
  template <typename Janela>
  void ExibirComLinha();
  void ExibirModal(QDialog* janela);

  static TFPainel* FInstancia;

  QString FArquivoIni;
  bool FIniNomeado = false;
  ConexaoBanco FConexao;
  TTransacaoDesc FTransacaoDesc;
  bool FMostrado = false;
  bool FMostrandoErro = false;
  bool FAtualizando = false;
  std::unique_ptr<AtualizacaoPainel> FAtualizacao;
  HistoricoStatus FHistorico;

  QFrame* pnlCabecalho = nullptr;
  QLabel* Image8 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edtIntervalo = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lblAtualizado = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Image1 = nullptr;
  QTableView* GridPainel = nullptr;
  QFrame* pnlBotoes = nullptr;
  QLabel* lblAtualizandoPainel = nullptr;
  QPushButton* btAtualizar = nullptr;
  QPushButton* btUltReg = nullptr;
  QPushButton* btVisualizar = nullptr;
  QPushButton* btnReexecutaErros = nullptr;
  QPushButton* btFechar = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  Temporizador* Timer = nullptr;
  TabelaStatus* cdsFiliais = nullptr;
};
