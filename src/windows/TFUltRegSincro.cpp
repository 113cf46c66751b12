#include "TFUltRegSincro.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>

#include "platform/Dialogos.h"
#include "app/GuardaFalhas.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"
#include "windows/MontagemChave.h"
#include "windows/TabelaRegistros.h"
#include "usage/TThreadDataAnalyticsRest.h"

TFUltRegSincro* TFUltRegSincro::FInstancia = nullptr;

namespace {

constexpr int kLarguraCliente = 838;
constexpr int kAlturaCliente = 467;
constexpr int kAlturaPaginas = 391;
constexpr int kAlturaPainel = 41;
// Enough of a script to fill the widest cell; painting megabytes per cell
// would stall the grid.
constexpr int kMaximoPintado = 4000;

// Hands every cell to the window's painting handler.
class DelegadoReceb : public QStyledItemDelegate {
 public:
  DelegadoReceb(const TFUltRegSincro* janela, int colunaScript, QObject* parent)
      : QStyledItemDelegate(parent), FJanela(janela), FColunaScript(colunaScript) {}

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override {
    if (indice.column() != FColunaScript) {
      QStyledItemDelegate::paint(pintor, opcao, indice);
      return;
    }
    GuardaFalhas::Executar([&] { FJanela->GridRecebDrawColumnCell(pintor, opcao, indice); });
  }

 private:
  const TFUltRegSincro* FJanela;
  int FColunaScript;
};

}  // namespace

TFUltRegSincro::TFUltRegSincro(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  FInstancia = this;
  setObjectName(QStringLiteral("FUltRegSincro"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Últimos/Próximos registros sincronizados"));
  setSizeGripEnabled(false);
  CriarControles();
  setFixedSize(kLarguraCliente, kAlturaCliente);
}

TFUltRegSincro::~TFUltRegSincro() {
  if (FInstancia == this) FInstancia = nullptr;
}

void TFUltRegSincro::CriarControles() {
  sqlRegReceb = new ConsultaSql(nullptr, this);
  sqlRegReceb->setObjectName(QStringLiteral("sqlRegReceb"));
  sqlRegReceb->SetSql(Catalogo::RegistrosRecebidos());
  sqlRegEnviado = new ConsultaSql(nullptr, this);
  sqlRegEnviado->setObjectName(QStringLiteral("sqlRegEnviado"));
  sqlRegEnviado->SetSql(Catalogo::RegistrosEnviados());
  sqlPrxReg = new ConsultaSql(nullptr, this);
  sqlPrxReg->setObjectName(QStringLiteral("sqlPrxReg"));
  sqlPrxReg->SetSql(Catalogo::ProximosRegistros());
  ChavePrimaria = new ConsultaSql(nullptr, this);
  ChavePrimaria->setObjectName(QStringLiteral("ChavePrimaria"));
  ChavePrimaria->SetSql(Catalogo::ChavePrimaria());

  using C = TabelaRegistros::Coluna;
  cdsRegReceb = new TabelaRegistros({C{"ID_ORIGEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"STATUS", "Status"},
                                     C{"ACAO", "Ação"}, C{"SCRIPT", "Script"}},
                                    this);
  cdsRegReceb->setObjectName(QStringLiteral("cdsRegReceb"));
  cdsRegEnviado = new TabelaRegistros({C{"ORDEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"CHAVE", "Chave"}}, this);
  cdsRegEnviado->setObjectName(QStringLiteral("cdsRegEnviado"));
  cdsPrxReg = new TabelaRegistros({C{"ORDEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"CHAVE", "Chave"}}, this);
  cdsPrxReg->setObjectName(QStringLiteral("cdsPrxReg"));

  Label1 = new QLabel(QStringLiteral("Filial:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont negrito = font();
  negrito.setBold(true);
  Label1->setFont(negrito);
  Label1->setGeometry(8, 12, 38, 16);
  lblNomeEmpresa = new QLabel(this);
  lblNomeEmpresa->setObjectName(QStringLiteral("lblNomeEmpresa"));
  lblNomeEmpresa->setGeometry(48, 12, 400, 16);

  const int topoPaginas = kAlturaCliente - kAlturaPainel - kAlturaPaginas;
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setGeometry(0, topoPaginas, kLarguraCliente, kAlturaPaginas);

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  PageControl->addTab(TabSheet1, QStringLiteral("15 Últimos registros recebidos"));
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  PageControl->addTab(TabSheet2, QStringLiteral("15 Últimos registros enviados"));
  TabSheet3 = new QWidget;
  TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
  PageControl->addTab(TabSheet3, QStringLiteral("15 Próximos registros que serão enviados"));

  GridReceb = CriarGrid(QStringLiteral("GridReceb"), cdsRegReceb, TabSheet1);
  for (int c = 0; c < 5; ++c) GridReceb->setColumnWidth(c, QList<int>{75, 160, 100, 100, 1200}[c]);
  GridReceb->setItemDelegate(new DelegadoReceb(this, 4, GridReceb));
  pmRecebidos = new QMenu(this);
  pmRecebidos->setObjectName(QStringLiteral("pmRecebidos"));
  C1 = pmRecebidos->addAction(QStringLiteral("Copiar Script"));
  C1->setObjectName(QStringLiteral("C1"));
  connect(C1, &QAction::triggered, this, [this] { GuardaFalhas::Executar([this] { C1Click(); }); });
  GridReceb->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(GridReceb, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& ponto) { pmRecebidos->popup(GridReceb->viewport()->mapToGlobal(ponto)); });

  GridEnv = CriarGrid(QStringLiteral("GridEnv"), cdsRegEnviado, TabSheet2);
  GridEnv->setColumnWidth(0, 75);
  GridEnv->setColumnWidth(1, 160);

  btTodos = new QPushButton(QStringLiteral("&Todos os registros"), TabSheet3);
  btTodos->setObjectName(QStringLiteral("btTodos"));
  btTodos->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  btTodos->setGeometry(8, 8, 140, 25);
  connect(btTodos, &QPushButton::clicked, this, [this] { GuardaFalhas::Executar([this] { btTodosClick(); }); });
  GridPrx = CriarGrid(QStringLiteral("GridPrx"), cdsPrxReg, TabSheet3);
  GridPrx->setColumnWidth(0, 75);
  GridPrx->setColumnWidth(1, 160);
  GridPrx->setColumnWidth(2, 1400);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, kAlturaCliente - kAlturaPainel, kLarguraCliente, kAlturaPainel);
  btFechar = new QPushButton(QStringLiteral("&Fechar"), Panel1);
  btFechar->setObjectName(QStringLiteral("btFechar"));
  btFechar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  btFechar->setGeometry(kLarguraCliente - 8 - 90, 8, 90, 25);
  connect(btFechar, &QPushButton::clicked, this, [this] { GuardaFalhas::Executar([this] { btFecharClick(); }); });
}

QTableView* TFUltRegSincro::CriarGrid(const QString& nome, TabelaRegistros* tabela, QWidget* pagina) {
  auto* grid = new QTableView(pagina);
  grid->setObjectName(nome);
  grid->setModel(tabela);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setShowGrid(true);
  grid->setWordWrap(false);
  grid->verticalHeader()->setVisible(false);
  // Fixed row heights keep long lists quick to lay out.
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(20);
  grid->horizontalHeader()->setVisible(true);
  const int topo = pagina == TabSheet3 ? 40 : 0;
  grid->setGeometry(0, topo, kLarguraCliente - 6, kAlturaPaginas - 30 - topo);
  return grid;
}

TFPainel& TFUltRegSincro::Painel() const {
  TFPainel* painel = TFPainel::Instancia();
  if (!painel) throw Falha(QStringLiteral("Janela principal não disponível."));
  return *painel;
}

void TFUltRegSincro::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (evento->spontaneous()) return;
  GuardaFalhas::Executar([this] { FormShow(); });
}

void TFUltRegSincro::closeEvent(QCloseEvent* evento) {
  QDialog::closeEvent(evento);
  GuardaFalhas::Executar([this] { FormClose(); });
}

void TFUltRegSincro::FormShow() {
  // A failure ends the steps where it happens; what is not loaded stays empty.
  PageControl->setCurrentIndex(0);
  EnviarRotina();
  Painel().AtribuirConexao(this);

  cdsRegEnviado->Limpar();
  sqlRegEnviado->Fechar();
  sqlRegEnviado->SetParam(QStringLiteral("PMaquina"), FCodEmpresa);
  sqlRegEnviado->SetParam(QStringLiteral("PMaqECF"), FMaquinaECF);
  sqlRegEnviado->Abrir();
  CarregarComChave(*sqlRegEnviado, *cdsRegEnviado);

  AbrirProximos();

  cdsRegReceb->Limpar();
  sqlRegReceb->Fechar();
  sqlRegReceb->SetParam(QStringLiteral("PCodEmpresa"), FCodEmpresa);
  sqlRegReceb->SetParam(QStringLiteral("PMaqEcf"), FMaquinaECF);
  sqlRegReceb->Abrir();
  cdsRegReceb->Carregar(*sqlRegReceb);
  PageControl->setCurrentIndex(0);
}

void TFUltRegSincro::EnviarRotina() {
  TThreadDataAnalyticsRest::EnviarRotina(windowTitle());
}

void TFUltRegSincro::AbrirProximos() {
  cdsPrxReg->Limpar();
  sqlPrxReg->Fechar();
  sqlPrxReg->SetParam(QStringLiteral("PMaquina"), FCodEmpresa);
  sqlPrxReg->SetParam(QStringLiteral("PMaqECF"), FMaquinaECF);
  sqlPrxReg->Abrir();
  CarregarComChave(*sqlPrxReg, *cdsPrxReg);
}

void TFUltRegSincro::CarregarComChave(ConsultaSql& consulta, TabelaRegistros& tabela) {
  const int colunaTabela = consulta.IndiceColuna(QStringLiteral("TABELA"));
  int colunasChave[MontagemChave::kMaximoChaves];
  for (int i = 0; i < MontagemChave::kMaximoChaves; ++i)
    colunasChave[i] = consulta.IndiceColuna(QStringLiteral("CHAVE%1").arg(i));
  QStringList chaves;
  chaves.reserve(consulta.QtdLinhas());
  std::vector<const ValorCampo*> valores(MontagemChave::kMaximoChaves);
  // Key columns remembered for this load only: one catalogue query per
  // distinct table of the list, and a key changed since the last load is
  // read afresh.
  MontagemChave montagem(*ChavePrimaria);
  for (int linha = 0; linha < consulta.QtdLinhas(); ++linha) {
    const auto& campos = consulta.Linha(linha);
    const QString tabelaLinha =
        colunaTabela >= 0 && !campos[colunaTabela].EhNulo() ? campos[colunaTabela].AsString() : QString();
    for (int i = 0; i < MontagemChave::kMaximoChaves; ++i)
      valores[i] = colunasChave[i] >= 0 ? &campos[colunasChave[i]] : nullptr;
    chaves << montagem.Montar(tabelaLinha, valores);
  }
  tabela.Carregar(consulta, std::move(chaves));
}

void TFUltRegSincro::btTodosClick() {
  cdsPrxReg->Limpar();
  sqlPrxReg->Fechar();
  sqlPrxReg->SetSql(Catalogo::ProximosRegistrosTodos());
  AbrirProximos();
}

void TFUltRegSincro::C1Click() {
  int linha = GridReceb->currentIndex().isValid() ? GridReceb->currentIndex().row() : 0;
  const QString script = cdsRegReceb->Texto(linha, QStringLiteral("SCRIPT"));
  Dialogos::Atual().CopiarTexto(script);
  Dialogos::Informacao(QStringLiteral("Script copiado para a Área de Transferência."));
}

void TFUltRegSincro::GridRecebDrawColumnCell(QPainter* pintor, const QStyleOptionViewItem& opcao,
                                             const QModelIndex& indice) const {
  const bool selecionada = opcao.state & QStyle::State_Selected;
  const QPalette& paleta = opcao.palette;
  pintor->save();
  pintor->fillRect(opcao.rect, selecionada ? paleta.highlight() : paleta.base());
  pintor->setClipRect(opcao.rect);
  pintor->setPen(selecionada ? paleta.highlightedText().color() : paleta.text().color());
  QString texto = indice.data(Qt::DisplayRole).toString().left(kMaximoPintado);
  // One line: line breaks would otherwise start new lines inside the cell.
  texto.replace(u'\r', u' ').replace(u'\n', u' ');
  pintor->drawText(opcao.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texto);
  pintor->restore();
}

void TFUltRegSincro::btFecharClick() { close(); }

void TFUltRegSincro::FormClose() {
  if (FInstancia == this) FInstancia = nullptr;
}
