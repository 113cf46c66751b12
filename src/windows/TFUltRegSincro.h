#pragma once

#include <QModelIndex>
#include <QString>

#include "windows/ChavePrimaria.h"
#include "windows/JanelaUnica.h"

class QAction;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QStyleOptionViewItem;
class QTabWidget;
class QTableView;
class QWidget;
class ConsultaSql;
class TabelaRegistros;

// The synchronised-records viewer: for one branch and machine, the last 15
// records received, the last 15 sent and the next ones to send, with
// readable key texts. It only reads the database, on the main window's
// connection.
//
// The opener sets FCodEmpresa, FMaquinaECF and lblNomeEmpresa's caption
// before showing it. The window frees itself when it closes.
//
// Threads: the user-interface thread only.
class TFUltRegSincro : public JanelaUnica<TFUltRegSincro> {
  Q_OBJECT

 public:
  explicit TFUltRegSincro(QWidget* parent = nullptr);

  // Hand-over from the opener.
  QString FCodEmpresa;
  QString FMaquinaECF;
  QLabel* lblNomeEmpresa = nullptr;

  // Event handlers.
  void FormShow() override;
  void btTodosClick();
  void C1Click();
  void GridRecebDrawColumnCell(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const;
  void btFecharClick();

  // Operations.
  void AbrirProximos();

 private:
  void CriarControles();
  void CriarConsultas();
  void CriarTabelas();
  void CriarCabecalho();
  void CriarPaginas();
  void CriarPaginaRecebidos();
  void CriarPaginaEnviados();
  void CriarPaginaProximos();
  void CriarRodape();
  QTableView* CriarGrid(const QString& nome, TabelaRegistros* tabela, QWidget* pagina);
  // Loads a change-log query into a table, with the key text of each row.
  void CarregarComChave(ConsultaSql& consulta, TabelaRegistros& tabela);

  ConsultaSql* sqlRegReceb = nullptr;
  ConsultaSql* sqlRegEnviado = nullptr;
  ConsultaSql* sqlPrxReg = nullptr;
  ConsultaSql* ChavePrimaria = nullptr;
  TabelaRegistros* cdsRegReceb = nullptr;
  TabelaRegistros* cdsRegEnviado = nullptr;
  TabelaRegistros* cdsPrxReg = nullptr;

  QLabel* Label1 = nullptr;
  QTabWidget* PageControl = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QTableView* GridReceb = nullptr;
  QTableView* GridEnv = nullptr;
  QTableView* GridPrx = nullptr;
  QPushButton* btTodos = nullptr;
  QMenu* pmRecebidos = nullptr;
  QAction* C1 = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* btFechar = nullptr;
};
