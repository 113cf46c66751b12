#include "app/ui/TFPainel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ConfiguracaoBanco.h"
#include "platform/Dialogos.h"
#include "app/Encerramento.h"
#include "app/GuardaFalhas.h"
#include "platform/VersaoSistema.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/LinhaStatus.h"
#include "panel/OrdemStatus.h"
#include "panel/ParametrosPainel.h"
#include "panel/ReprocessamentoErros.h"
#include "panel/TabelaStatus.h"
#include "panel/Temporizador.h"
#include "panel/ui/EstiloGrid.h"
#include "platform/ConsultaSql.h"
#include "windows/ConexaoGuardada.h"
#include "windows/TFUltRegSincro.h"
#include "windows/TFVisualizar.h"
#include "windows/TFVisualizarLog.h"
#include "usage/TThreadDataAnalyticsRest.h"

TFPainel* TFPainel::FInstancia = nullptr;

namespace {

QFont Fonte(int pontos, bool negrito = false) {
  QFont fonte(QStringLiteral("MS Sans Serif"), pontos);
  fonte.setBold(negrito);
  return fonte;
}

// The warning keeps its box; where the face in use wraps it into more lines
// than the box holds, it gets the largest size that shows it whole.
void CaberNoQuadro(QLabel* rotulo) {
  QFont fonte = rotulo->font();
  while (fonte.pointSizeF() > 6 && rotulo->heightForWidth(rotulo->width()) > rotulo->height()) {
    fonte.setPointSizeF(fonte.pointSizeF() - 0.5);
    rotulo->setFont(fonte);
  }
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, int x, int y, int pontos, bool negrito) {
  auto* rotulo = new QLabel(texto, pai);
  rotulo->setObjectName(QLatin1String(nome));
  rotulo->setFont(Fonte(pontos, negrito));
  rotulo->move(x, y);
  rotulo->adjustSize();
  return rotulo;
}

QPushButton* Botao(QWidget* pai, const char* nome, const QString& texto, int x, int largura) {
  auto* botao = new QPushButton(texto, pai);
  botao->setObjectName(QLatin1String(nome));
  botao->setGeometry(x, 5, largura, 28);
  return botao;
}

// The decorative pictures of the header are drawn, not stored.
QPixmap Marca(QSize tamanho, const QString& texto, const QColor& cor) {
  QPixmap imagem(tamanho);
  imagem.fill(Qt::transparent);
  QPainter pintor(&imagem);
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setBrush(cor);
  pintor.setPen(Qt::NoPen);
  pintor.drawRoundedRect(QRectF(QPointF(0, 0), tamanho).adjusted(1, 1, -1, -1), 10, 10);
  pintor.setPen(Qt::white);
  QFont fonte = pintor.font();
  fonte.setBold(true);
  fonte.setPixelSize(tamanho.height() / 3);
  pintor.setFont(fonte);
  pintor.drawText(imagem.rect(), Qt::AlignCenter, texto);
  return imagem;
}

}  // namespace

TFPainel::TFPainel(const QString& arquivoIni, QWidget* parent, bool iniNomeado)
    : QWidget(parent),
      FArquivoIni(arquivoIni.isEmpty() ? ConfiguracaoBanco::ArquivoPadrao() : arquivoIni),
      FIniNomeado(iniNomeado) {
  FInstancia = this;
  setObjectName(QStringLiteral("FPainel"));
  setWindowTitle(QStringLiteral("Painel de Controle para Integração - VKT Informática - "));
  setFont(Fonte(8));
  setFixedSize(1094, 470);
  CriarControles();
  DefinirOrdemTabulacao();
  qApp->installEventFilter(this);
  GuardaFalhas::Executar([this] { FormCreate(); });
}

TFPainel::~TFPainel() {
  FAtualizacao.reset();
  // The rows outlive the history by a moment (children go after members).
  cdsFiliais->SetHistorico(nullptr);
  qApp->removeEventFilter(this);
  GuardaFalhas::Instalar(nullptr);
  if (FInstancia == this) FInstancia = nullptr;
}

void TFPainel::CriarControles() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  CriarCabecalho();
  layout->addWidget(pnlCabecalho);

  cdsFiliais = new TabelaStatus(this);
  cdsFiliais->setObjectName(QStringLiteral("cdsFiliais"));
  FAtualizacao = std::make_unique<AtualizacaoPainel>(FConexao, *cdsFiliais);
  // A panel started from the desktop menu has no command line: the file
  // may ask for the fast counts too.
  FAtualizacao->SetContagemRapida(ConfiguracaoBanco::ContagemRapida(FArquivoIni, ParametrosPainel::ContagemRapida()));
  cdsFiliais->SetHistorico(&FHistorico);
  GridPainel = new QTableView(this);
  GridPainel->setObjectName(QStringLiteral("GridPainel"));
  EstiloGrid::Aplicar(GridPainel, cdsFiliais);
  layout->addWidget(GridPainel, 1);
  ConectarGuardado(GridPainel->horizontalHeader(), &QHeaderView::sectionClicked, this,
                   &TFPainel::GridPainelTitleClick);
  connect(GridPainel, &QTableView::clicked, this, [this](const QModelIndex& indice) {
    const int coluna = indice.column();
    GuardaFalhas::Executar([this, coluna] { GridPainelCellClick(coluna); });
  });

  CriarBotoes();
  layout->addWidget(pnlBotoes);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(19);
  StatusBar1->setSizeGripEnabled(false);
  auto* painel = new QLabel(QStringLiteral("Erro? são os eventos ocorridos durante o processamento das informações."));
  StatusBar1->addWidget(painel, 1);
  layout->addWidget(StatusBar1);

  Timer = new Temporizador(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->SetIntervalo(15000);
  ConectarGuardado(Timer, &Temporizador::Disparou, this, &TFPainel::TimerTimer);
}

void TFPainel::CriarCabecalho() {
  pnlCabecalho = new QFrame(this);
  pnlCabecalho->setObjectName(QStringLiteral("pnlCabecalho"));
  pnlCabecalho->setFrameShape(QFrame::NoFrame);
  pnlCabecalho->setFixedHeight(80);

  Image8 = new QLabel(pnlCabecalho);
  Image8->setObjectName(QStringLiteral("Image8"));
  Image8->setGeometry(11, 5, 192, 66);
  Image8->setCursor(Qt::PointingHandCursor);
  Image8->setScaledContents(true);
  Image8->setPixmap(Marca(QSize(192, 66), QStringLiteral("Velmora"), QColor(0, 84, 147)));

  Label2 = Rotulo(pnlCabecalho, "Label2", QStringLiteral("Atualizar a cada"), 239, 22, 9, true);
  edtIntervalo = new QLineEdit(QStringLiteral("15"), pnlCabecalho);
  edtIntervalo->setObjectName(QStringLiteral("edtIntervalo"));
  edtIntervalo->setGeometry(339, 18, 25, 21);
  edtIntervalo->setMaxLength(2);
  Label3 = Rotulo(pnlCabecalho, "Label3", QStringLiteral("segundos"), 372, 22, 9, true);
  lblAtualizado = Rotulo(pnlCabecalho, "lblAtualizado", QStringLiteral("Atualizado em:"), 239, 46, 9, true);

  Label1 = new QLabel(
      QStringLiteral("Atenção: Se estiver atualizando a versão do Velmora Off-Line, certifique que a fila de "
                     "integração encontra-se zerada. Não atualize a versão do sistema se existirem integrações "
                     "pendentes."),
      pnlCabecalho);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(551, 11, 266, 54);
  Label1->setWordWrap(true);
  Label1->setFont(Fonte(9));
  Label1->setStyleSheet(QStringLiteral("color: #800000;"));
  CaberNoQuadro(Label1);

  Image1 = new QLabel(pnlCabecalho);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(842, 6, 241, 67);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setPixmap(Marca(QSize(241, 67), QStringLiteral("Off-Line"), QColor(0, 128, 96)));
}

void TFPainel::CriarBotoes() {
  pnlBotoes = new QFrame(this);
  pnlBotoes->setObjectName(QStringLiteral("pnlBotoes"));
  pnlBotoes->setFrameShape(QFrame::NoFrame);
  pnlBotoes->setFixedHeight(38);

  lblAtualizandoPainel =
      Rotulo(pnlBotoes, "lblAtualizandoPainel", QStringLiteral("Aguarde, atualizando dados..."), 10, 5, 8, true);
  lblAtualizandoPainel->hide();

  btAtualizar = Botao(pnlBotoes, "btAtualizar", QStringLiteral("&Atualizar agora"), 349, 149);
  btUltReg = Botao(pnlBotoes, "btUltReg", QStringLiteral("&Reg. sincronizados"), 501, 149);
  btVisualizar = Botao(pnlBotoes, "btVisualizar", QStringLiteral("&Visualizar Log"), 653, 149);
  btnReexecutaErros = Botao(pnlBotoes, "btnReexecutaErros", QStringLiteral("Reprocessar Erros"), 805, 149);
  btFechar = Botao(pnlBotoes, "btFechar", QStringLiteral("&Fechar"), 957, 133);

  ConectarGuardado(btAtualizar, &QPushButton::clicked, this, &TFPainel::btAtualizarClick);
  ConectarGuardado(btFechar, &QPushButton::clicked, this, &TFPainel::btFecharClick);
  ConectarGuardado(btUltReg, &QPushButton::clicked, this, &TFPainel::btUltRegClick);
  ConectarGuardado(btVisualizar, &QPushButton::clicked, this, &TFPainel::btVisualizarClick);
  ConectarGuardado(btnReexecutaErros, &QPushButton::clicked, this, &TFPainel::btnReexecutaErrosClick);
}

void TFPainel::DefinirOrdemTabulacao() {
  setTabOrder(btVisualizar, btAtualizar);
  setTabOrder(btAtualizar, btUltReg);
  setTabOrder(btUltReg, btFechar);
  setTabOrder(btFechar, btnReexecutaErros);
  setTabOrder(btnReexecutaErros, edtIntervalo);
  setTabOrder(edtIntervalo, btVisualizar);
}

// ---- start-up, closing, keys and failures ----

void TFPainel::FormCreate() {
  setWindowTitle(windowTitle() + VersaoSistema());
  GuardaFalhas::Instalar([this](const Falha& falha) { TratarExcecao(falha); });
  ConectarBanco();
  CarregarIntervalo();
  ConfigurarColunaMaquina();
}

void TFPainel::FormShow() {
  TThreadDataAnalyticsRest::EnviarRotina(windowTitle());
  edtIntervaloExit();
  Timer->Suspender([this] { AtualizarPainel(); });
}

void TFPainel::showEvent(QShowEvent* evento) {
  QWidget::showEvent(evento);
  if (FMostrado) return;
  FMostrado = true;
  if (QScreen* tela = screen()) move(tela->availableGeometry().center() - rect().center());
  btVisualizar->setFocus();
  GuardaFalhas::Executar([this] { FormShow(); });
}

void TFPainel::closeEvent(QCloseEvent* evento) {
  QWidget::closeEvent(evento);
  Encerramento::Pedir();
}

void TFPainel::btFecharClick() { close(); }

bool TFPainel::eventFilter(QObject* alvo, QEvent* evento) {
  if (alvo == edtIntervalo && evento->type() == QEvent::FocusOut) {
    // Leaving the edit applies the interval, every time, changed or not.
    // Another window taking the activation (the error box itself) is not
    // leaving it. The box must not open in the middle of a focus change, so
    // the interval is applied right after it.
    const Qt::FocusReason razao = static_cast<QFocusEvent*>(evento)->reason();
    if (razao != Qt::ActiveWindowFocusReason && razao != Qt::PopupFocusReason)
      QMetaObject::invokeMethod(
          this, [this] { GuardaFalhas::Executar([this] { edtIntervaloExit(); }); }, Qt::QueuedConnection);
    return false;
  }
  if (alvo == GridPainel->viewport() && evento->type() == QEvent::MouseButtonDblClick) {
    // The press before it has already made the clicked cell current.
    GuardaFalhas::Executar([this] { btUltRegClick(); });
    return true;
  }
  if (evento->type() != QEvent::KeyPress || !alvo->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(alvo);
  if (widget != this && !isAncestorOf(widget)) return false;
  bool tratada = false;
  GuardaFalhas::Executar([&] { FormKeyDown(static_cast<QKeyEvent*>(evento), tratada); });
  return tratada;
}

void TFPainel::FormKeyDown(QKeyEvent* tecla, bool& tratada) {
  if (GradeKeyDown(tecla)) {
    tratada = true;
    return;
  }
  switch (tecla->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      tratada = true;
      focusNextChild();
      break;
    case Qt::Key_Escape:
      tratada = true;
      close();
      break;
    default:
      break;
  }
}

void TFPainel::TratarExcecao(const Falha& falha) {
  const QString maiusculo = falha.Mensagem().toUpper();
  // Only the database tells that it is gone; any other text that happens to
  // hold these words is an ordinary failure and is shown.
  if (falha.VeioDoBanco() &&
      (maiusculo.contains(QStringLiteral("SHUTDOWN")) || maiusculo.contains(QStringLiteral("CONNECTION LOST")))) {
    Encerramento::Pedir();
    return;
  }
  // A failure that arrives while its box is open (the timer retrying a
  // server that is down) is not stacked on it.
  if (FMostrandoErro) return;
  // Cleared however the box ends: a box that failed to show must not keep
  // every later failure from being shown.
  const QScopedValueRollback<bool> mostrando(FMostrandoErro, true);
  Dialogos::Erro(falha.Mensagem());
}

// ---- connection and guarded transactions ----

void TFPainel::ConectarBanco() {
  if (FIniNomeado) ConfiguracaoBanco::VerificarArquivoNomeado(FArquivoIni);
  ConfiguracaoBanco::ConectarBanco(FConexao, FArquivoIni);
}

void TFPainel::AtribuirConexao(QObject* janela) {
  for (ConsultaSql* consulta : janela->findChildren<ConsultaSql*>()) consulta->SetConexao(&FConexao);
}

void TFPainel::IniciaTransacao() {
  if (FConexao.EmTransacao())
    throw Falha(QStringLiteral("Detectada falha no controle de inicia transação: Transação não fechada."));
  FTransacaoDesc.TransactionID = 1;
  FTransacaoDesc.IsolationLevel = TNivelIsolamento::ReadCommitted;
  FConexao.IniciarTransacao();
}

void TFPainel::ConfirmaTransacao() {
  if (!FConexao.EmTransacao())
    throw Falha(QStringLiteral("Detectada falha no controle de confirma transação: Transação não aberta."));
  FConexao.ConfirmarTransacao();
}

void TFPainel::CancelaTransacao() {
  if (!FConexao.EmTransacao())
    throw Falha(
        QStringLiteral("Detectada falha no controle de cancelamento de transação: Transação não aberta."));
  FConexao.CancelarTransacao();
}

// ---- status rows, refresh and scheduling ----

void TFPainel::AtualizarPainel() {
  // Painting the busy notice lets waiting messages run; a refresh asked for
  // from there finds this one under way, which reads the data after that
  // request anyway, so it is dropped rather than run inside this one.
  if (FAtualizando) return;
  const QScopedValueRollback<bool> emCurso(FAtualizando, true);

  // The table empties on every refresh; the current cell goes back to the
  // same row and column afterwards, so the operator keeps the place.
  const QModelIndex atual = GridPainel->currentIndex();
  const auto lugar = qScopeGuard([this, linha = atual.row(), coluna = atual.column()] {
    if (linha >= 0 && cdsFiliais->rowCount() > 0)
      GridPainel->setCurrentIndex(cdsFiliais->index(qMin(linha, cdsFiliais->rowCount() - 1), coluna));
  });

  lblAtualizandoPainel->show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto fim = qScopeGuard([this] {
    lblAtualizandoPainel->hide();
    QApplication::restoreOverrideCursor();
  });
  // Notice and cursor are painted before the work; the operator's clicks
  // wait for the end of the refresh instead of running inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  if (FAtualizacao->Atualizar()) {
    FHistorico.Registrar(cdsFiliais->Linhas(), FHistorico.Agora());
    lblAtualizado->setText(QStringLiteral("Informações atualizadas em ") +
                           FormatoDataHora::Carimbo(QDateTime::currentDateTime()));
    lblAtualizado->adjustSize();
  }
}

qint32 TFPainel::ContarRegEnviar(const QString& codEmpresa, const QString& maquinaEcf) {
  return FAtualizacao->ContarRegEnviar(codEmpresa, maquinaEcf);
}

qint32 TFPainel::ContarRegFila(const QString& codEmpresa, const QString& maquinaEcf) {
  return FAtualizacao->ContarRegFila(codEmpresa, maquinaEcf);
}

void TFPainel::CarregarIntervalo() { edtIntervalo->setText(ParametrosPainel::IntervaloInicial(FConexao)); }

void TFPainel::ConfigurarColunaMaquina() {
  // Shown once per start when asked for; never hidden again.
  if (ParametrosPainel::MostraColunaMaquina(FConexao)) GridPainel->setColumnHidden(ColunaGrid::kMaquinaEcf, false);
}

void TFPainel::edtIntervaloExit() {
  // On again in every case: a text that is not a number leaves the previous
  // period in force and the text in the edit.
  Timer->Suspender([this] { Timer->SetIntervalo(ParametrosPainel::Periodo(edtIntervalo->text())); });
}

void TFPainel::TimerTimer() {
  if (FAtualizando) return;
  Timer->Suspender([this] { AtualizarPainel(); });
}

void TFPainel::btAtualizarClick() { TimerTimer(); }

// ---- grid interaction and reprocessing ----

void TFPainel::GridPainelTitleClick(int coluna) {
  const auto& colunas = ColunaGrid::Todas();
  if (coluna < 0 || coluna >= colunas.size()) return;
  cdsFiliais->Ordenar(OrdemStatus::ChavesDoTitulo(colunas[coluna].Campo));
}

void TFPainel::GridPainelCellClick(int coluna) {
  if (coluna == ColunaGrid::IndiceDe(CampoStatus::STATUSERRO)) VisualizarErros();
}

void TFPainel::GridPainelEditButtonClick() { VisualizarErros(); }

LinhaStatus TFPainel::LinhaAtual() const {
  const int linhas = cdsFiliais->rowCount();
  if (linhas == 0) return {};
  const int linha = GridPainel->currentIndex().row();
  return cdsFiliais->LinhaExibida(linha >= 0 && linha < linhas ? linha : 0);
}

template <typename Janela>
void TFPainel::ExibirComLinha() {
  // One window per class at a time; it frees itself when it closes, so
  // every opening builds a fresh one.
  Janela* janela = Janela::Instancia();
  if (!janela) janela = new Janela();
  const LinhaStatus linha = LinhaAtual();
  janela->FCodEmpresa = linha.CODEMPRESA;
  janela->FMaquinaECF = linha.MAQUINAECF;
  janela->lblNomeEmpresa->setText(linha.NOME);
  ExibirModal(janela);
}

void TFPainel::ExibirModal(QDialog* janela) {
  janela->exec();
  // The window belongs to no other: without this, closing it would leave
  // the keyboard nowhere instead of back on the control it came from.
  if (isVisible()) activateWindow();
}

void TFPainel::VisualizarErros() {
  // The timer is on again before a failing refresh is passed on; the
  // column and the repaint are then skipped.
  Timer->Suspender([this] {
    ExibirComLinha<TFVisualizar>();
    AtualizarPainel();
    const int linha = qMax(GridPainel->currentIndex().row(), 0);
    if (cdsFiliais->rowCount() > 0)
      GridPainel->setCurrentIndex(cdsFiliais->index(linha, ColunaGrid::IndiceDe(CampoStatus::STATUSERRO)));
  });
  repaint();
}

void TFPainel::btUltRegClick() {
  Timer->Suspender([this] {
    ExibirComLinha<TFUltRegSincro>();
    AtualizarPainel();
  });
}

void TFPainel::btVisualizarClick() {
  // Nothing to hand over and nothing to refresh: the timer keeps ticking
  // behind the window.
  TFVisualizarLog* janela = TFVisualizarLog::Instancia();
  if (!janela) janela = new TFVisualizarLog();
  ExibirModal(janela);
}

void TFPainel::btnReexecutaErrosClick() { ReprocessarErros(); }

void TFPainel::ReprocessarErros() {
  // The changed queue counts show at the next refresh.
  ReprocessamentoErros::Executar(FConexao);
}

bool TFPainel::GradeKeyDown(QKeyEvent* tecla) {
  const Qt::KeyboardModifiers modificadores = tecla->modifiers() & ~Qt::KeypadModifier;
  // The grid takes no focus from Tab; Alt+G brings the keyboard to it.
  if (tecla->key() == Qt::Key_G && modificadores == Qt::AltModifier) {
    if (!GridPainel->currentIndex().isValid() && cdsFiliais->rowCount() > 0)
      GridPainel->setCurrentIndex(cdsFiliais->index(0, 0));
    GridPainel->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  if (!GridPainel->hasFocus()) return false;
  const int coluna = GridPainel->currentIndex().column();
  // Ctrl+Enter is the edit button of the "Erro?" cell; a plain Enter
  // still moves on as everywhere in the window.
  if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) && modificadores == Qt::ControlModifier) {
    if (coluna == ColunaGrid::IndiceDe(CampoStatus::STATUSERRO)) GridPainelEditButtonClick();
    return true;
  }
  // Ctrl+O sorts by the current cell's column, as a click on its title.
  if (tecla->key() == Qt::Key_O && modificadores == Qt::ControlModifier) {
    if (coluna >= 0) GridPainelTitleClick(coluna);
    return true;
  }
  return false;
}
