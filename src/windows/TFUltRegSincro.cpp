#include "TFUltRegSincro.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>

#include "platform/Dialogos.h"
#include "app/GuardaFalhas.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "windows/ConexaoGuardada.h"
#include "windows/MontagemChave.h"
#include "windows/TabelaRegistros.h"
#include "windows/TextoUmaLinha.h"

namespace {

constexpr int kLarguraCliente = 838;
constexpr int kAlturaCliente = 467;
constexpr int kAlturaPaginas = 391;
constexpr int kAlturaPainel = 41;
// Enough of a script to fill the widest cell; painting megabytes per cell
// would stall the grid.
constexpr int kMaximoPintado = 4000;
// The calculated key text holds up to this many characters.
constexpr int kTamanhoChave = 200;

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
    : JanelaUnica(QStringLiteral("FUltRegSincro"), QStringLiteral("Últimos/Próximos registros sincronizados"),
                  Qt::WindowCloseButtonHint, parent) {
  CriarControles();
  setFixedSize(kLarguraCliente, kAlturaCliente);
}

void TFUltRegSincro::CriarControles() {
  CriarConsultas();
  CriarTabelas();
  CriarCabecalho();
  CriarPaginas();
  CriarRodape();
}

void TFUltRegSincro::CriarConsultas() {
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
}

void TFUltRegSincro::CriarTabelas() {
  using C = TabelaRegistros::Coluna;
  cdsRegReceb = new TabelaRegistros({C{"ID_ORIGEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"STATUS", "Status"},
                                     C{"ACAO", "Ação"}, C{"SCRIPT", "Script"}},
                                    this);
  cdsRegReceb->setObjectName(QStringLiteral("cdsRegReceb"));
  cdsRegEnviado = new TabelaRegistros({C{"ORDEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"CHAVE", "Chave"}}, this);
  cdsRegEnviado->setObjectName(QStringLiteral("cdsRegEnviado"));
  cdsPrxReg = new TabelaRegistros({C{"ORDEM", "ID", true}, C{"TABELA", "Nome Tabela"}, C{"CHAVE", "Chave"}}, this);
  cdsPrxReg->setObjectName(QStringLiteral("cdsPrxReg"));
}

void TFUltRegSincro::CriarCabecalho() {
  Label1 = new QLabel(QStringLiteral("Filial:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont negrito = font();
  negrito.setBold(true);
  Label1->setFont(negrito);
  Label1->setGeometry(8, 12, 38, 16);
  lblNomeEmpresa = new QLabel(this);
  lblNomeEmpresa->setObjectName(QStringLiteral("lblNomeEmpresa"));
  lblNomeEmpresa->setGeometry(48, 12, 400, 16);
}

void TFUltRegSincro::CriarPaginas() {
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

  CriarPaginaRecebidos();
  CriarPaginaEnviados();
  CriarPaginaProximos();
}

void TFUltRegSincro::CriarPaginaRecebidos() {
  GridReceb = CriarGrid(QStringLiteral("GridReceb"), cdsRegReceb, TabSheet1);
  for (int c = 0; c < 5; ++c) GridReceb->setColumnWidth(c, QList<int>{75, 160, 100, 100, 1200}[c]);
  GridReceb->setItemDelegate(new DelegadoReceb(this, 4, GridReceb));
  pmRecebidos = new QMenu(this);
  pmRecebidos->setObjectName(QStringLiteral("pmRecebidos"));
  C1 = pmRecebidos->addAction(QStringLiteral("Copiar Script"));
  C1->setObjectName(QStringLiteral("C1"));
  ConectarGuardado(C1, &QAction::triggered, this, &TFUltRegSincro::C1Click);
  GridReceb->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(GridReceb, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& ponto) { pmRecebidos->popup(GridReceb->viewport()->mapToGlobal(ponto)); });
}

void TFUltRegSincro::CriarPaginaEnviados() {
  GridEnv = CriarGrid(QStringLiteral("GridEnv"), cdsRegEnviado, TabSheet2);
  GridEnv->setColumnWidth(0, 75);
  GridEnv->setColumnWidth(1, 160);
  // A column's default width is its field's: the 200 characters of the key
  // text, so a whole key shows where the window has room.
  GridEnv->setColumnWidth(2, QFontMetrics(GridEnv->font()).horizontalAdvance(QLatin1Char('0')) * kTamanhoChave + 4);
}

void TFUltRegSincro::CriarPaginaProximos() {
  btTodos = new QPushButton(QStringLiteral("&Todos os registros"), TabSheet3);
  btTodos->setObjectName(QStringLiteral("btTodos"));
  btTodos->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  btTodos->setGeometry(8, 8, 140, 25);
  ConectarGuardado(btTodos, &QPushButton::clicked, this, &TFUltRegSincro::btTodosClick);
  GridPrx = CriarGrid(QStringLiteral("GridPrx"), cdsPrxReg, TabSheet3);
  GridPrx->setColumnWidth(0, 75);
  GridPrx->setColumnWidth(1, 160);
  GridPrx->setColumnWidth(2, 1400);
}

void TFUltRegSincro::CriarRodape() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, kAlturaCliente - kAlturaPainel, kLarguraCliente, kAlturaPainel);
  btFechar = new QPushButton(QStringLiteral("&Fechar"), Panel1);
  btFechar->setObjectName(QStringLiteral("btFechar"));
  btFechar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  btFechar->setGeometry(kLarguraCliente - 8 - 90, 8, 90, 25);
  ConectarGuardado(btFechar, &QPushButton::clicked, this, &TFUltRegSincro::btFecharClick);
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
  // Titles sit on the left; the table centres only those of "ID".
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const int topo = pagina == TabSheet3 ? 40 : 0;
  grid->setGeometry(0, topo, kLarguraCliente - 6, kAlturaPaginas - 30 - topo);
  return grid;
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
  // Wider still when a key text needs it.
  const int larguraChave = GridEnv->columnWidth(2);
  GridEnv->resizeColumnToContents(2);
  GridEnv->setColumnWidth(2, qMax(larguraChave, GridEnv->columnWidth(2)));

  AbrirProximos();

  cdsRegReceb->Limpar();
  sqlRegReceb->Fechar();
  sqlRegReceb->SetParam(QStringLiteral("PCodEmpresa"), FCodEmpresa);
  sqlRegReceb->SetParam(QStringLiteral("PMaqEcf"), FMaquinaECF);
  sqlRegReceb->Abrir();
  cdsRegReceb->Carregar(*sqlRegReceb);
  PageControl->setCurrentIndex(0);
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
  // One line: line breaks would otherwise start new lines inside the cell.
  const QString texto = TextoUmaLinha(indice.data(Qt::DisplayRole).toString().left(kMaximoPintado));
  pintor->drawText(opcao.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texto);
  pintor->restore();
}

void TFUltRegSincro::btFecharClick() { close(); }
