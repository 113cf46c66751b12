#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>

class QCheckBox;
class QGroupBox;
class QLabel;
class QModelIndex;
class QPainter;
class QPushButton;
class QRadioButton;
class QStyleOptionViewItem;
class QTableView;
class ConsultaSql;
class TabelaErros;
class TFPainel;

// The error viewer: the integration errors of one branch and machine, open
// only or all. The operator acknowledges them one by one (double click on
// "Conferido?") or all at once, reads one in full (double click on
// "Mensagem") and deletes the branch's errors. Every write runs in the main
// window's guarded transaction and every write failure is answered here.
//
// The opener sets FCodEmpresa, FMaquinaECF and lblNomeEmpresa's caption
// before showing it. The window frees itself when it closes.
//
// Threads: the user-interface thread only.
class TFVisualizar : public QDialog {
  Q_OBJECT

 public:
  explicit TFVisualizar(QWidget* parent = nullptr);
  ~TFVisualizar() override;

  // The window while it exists; openers build a new one when this is null.
  static TFVisualizar* Instancia() { return FInstancia; }

  // Hand-over from the opener.
  QString FCodEmpresa;
  QString FMaquinaECF;
  QLabel* lblNomeEmpresa = nullptr;

  // Event handlers.
  void FormShow();
  void VisualizarClick();
  QString cdsIntegErroMensagemGetText(int linha) const;
  void GridVisualizarDrawColumnCell(QPainter* pintor, const QStyleOptionViewItem& opcao,
                                    const QModelIndex& indice) const;
  void GridVisualizarDblClick(const QModelIndex& indice);
  void MarcarTodosClick();
  void btExcluirClick();
  void btFecharClick();
  void FormClose();

 protected:
  void showEvent(QShowEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  void CriarControles();
  void EnviarRotina();
  TFPainel& Painel() const;

  void CarregarErros();
  void GravarConferido(const QString& conferido, const QString& idIntegErro);
  void AtualizarConferido(const QString& conferido, const QString& idIntegErro);
  void MarcarTodosConferidos();
  bool ExcluirErros();

  static TFVisualizar* FInstancia;

  QLabel* Label1 = nullptr;
  QGroupBox* Visualizar = nullptr;
  QRadioButton* FOpcaoNaoConferidos = nullptr;
  QRadioButton* FOpcaoTodos = nullptr;
  QCheckBox* MarcarTodos = nullptr;
  QPushButton* btExcluir = nullptr;
  QPushButton* btFechar = nullptr;
  QTableView* GridVisualizar = nullptr;

  ConsultaSql* sqlIntegErro = nullptr;
  ConsultaSql* Atualizar = nullptr;
  TabelaErros* cdsIntegErro = nullptr;
  QList<QPixmap> ImageList;
};
