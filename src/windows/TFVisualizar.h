#pragma once

#include <QList>
#include <QPixmap>
#include <functional>
#include <optional>

#include "windows/JanelaUnica.h"

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
class TFVisualizar : public JanelaUnica<TFVisualizar> {
  Q_OBJECT

 public:
  explicit TFVisualizar(QWidget* parent = nullptr);

  // Hand-over from the opener.
  QString FCodEmpresa;
  QString FMaquinaECF;
  QLabel* lblNomeEmpresa = nullptr;

  // Event handlers.
  void FormShow() override;
  void VisualizarClick();
  QString cdsIntegErroMensagemGetText(int linha) const;
  void GridVisualizarDrawColumnCell(QPainter* pintor, const QStyleOptionViewItem& opcao,
                                    const QModelIndex& indice) const;
  void GridVisualizarDblClick(const QModelIndex& indice);
  void MarcarTodosClick();
  void btExcluirClick();
  void btFecharClick();

 protected:
  void resizeEvent(QResizeEvent* evento) override;

 private:
  void CriarControles();
  void CriarConsultas();
  void CriarFaixa();
  void CriarGrid();

  void CarregarErros();
  void GravarConferido(const QString& conferido, const QString& idIntegErro);
  void AtualizarConferido(const QString& conferido, const QString& idIntegErro);
  void MarcarTodosConferidos();
  bool ExcluirErros();
  // Runs a write inside the main window's guarded transaction. A failure
  // comes back as its message, after desfazer (the in-memory rows) and the
  // roll-back.
  std::optional<QString> GravarEmTransacao(const std::function<void()>& gravacao,
                                           const std::function<void()>& desfazer = {});

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
