#include "windows/TFVisualizar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableView>
#include <optional>

#include "platform/Dialogos.h"
#include "app/GuardaFalhas.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "model/TabelasIntegracao.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"
#include "windows/ConexaoGuardada.h"
#include "windows/DelegadoGridVisualizar.h"
#include "windows/MemoMensagem.h"
#include "windows/TFMensagem.h"
#include "windows/TabelaErros.h"
#include "windows/TextoUmaLinha.h"

namespace {

const int kLarguraCliente = 893;
const int kAlturaCliente = 389;
const int kAlturaGrid = 352;
const int kTamanhoMensagem = 250;

// Runs one write; any failure comes back as its message, for the window's
// own error box.
std::optional<QString> Falhou(const std::function<void()>& corpo) {
  try {
    corpo();
    return std::nullopt;
  } catch (const Falha& falha) {
    return falha.Mensagem();
  } catch (const std::bad_alloc&) {
    return QStringLiteral("Memória insuficiente para concluir a operação.");
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  }
}

// Image 0 of the window's image list: a green tick on 16 x 16.
QPixmap Visto() {
  QPixmap imagem(16, 16);
  imagem.fill(Qt::transparent);
  QPainter pintor(&imagem);
  QPainterPath traco;
  traco.moveTo(3, 8);
  traco.lineTo(6, 11);
  traco.lineTo(12, 4);
  pintor.setPen(QPen(QColor(0, 160, 0), 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  pintor.drawPath(traco);
  return imagem;
}

}  // namespace

TFVisualizar::TFVisualizar(QWidget* parent)
    : JanelaUnica(QStringLiteral("FVisualizar"), QStringLiteral("Visualizar Erros"), Qt::WindowCloseButtonHint,
                  parent) {
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  ImageList << Visto();
  CriarControles();
  resize(kLarguraCliente, kAlturaCliente);
}

void TFVisualizar::CriarControles() {
  CriarConsultas();
  CriarFaixa();
  CriarGrid();
}

void TFVisualizar::CriarConsultas() {
  // Created in this order, so that the main window attaches them in it.
  sqlIntegErro = new ConsultaSql(nullptr, this);
  sqlIntegErro->setObjectName(QStringLiteral("sqlIntegErro"));
  sqlIntegErro->SetSql(Catalogo::ErrosNaoConferidos());
  Atualizar = new ConsultaSql(nullptr, this);
  Atualizar->setObjectName(QStringLiteral("Atualizar"));
  cdsIntegErro = new TabelaErros(this);
  cdsIntegErro->setObjectName(QStringLiteral("cdsIntegErro"));
  cdsIntegErro->SetTextoMensagem([this](int linha) { return cdsIntegErroMensagemGetText(linha); });
}

// The strip along the top: branch, view options, "Marcar todos", buttons.
void TFVisualizar::CriarFaixa() {
  Label1 = new QLabel(QStringLiteral("Filial:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont negrito = font();
  negrito.setBold(true);
  Label1->setFont(negrito);
  Label1->setGeometry(8, 12, 38, 16);

  lblNomeEmpresa = new QLabel(this);
  lblNomeEmpresa->setObjectName(QStringLiteral("lblNomeEmpresa"));
  lblNomeEmpresa->setGeometry(48, 12, 245, 16);

  Visualizar = new QGroupBox(QStringLiteral(" Visualizar "), this);
  Visualizar->setObjectName(QStringLiteral("Visualizar"));
  Visualizar->setGeometry(300, 0, 225, 35);
  FOpcaoNaoConferidos = new QRadioButton(QStringLiteral("Não conferidos"), Visualizar);
  FOpcaoNaoConferidos->setObjectName(QStringLiteral("VisualizarNaoConferidos"));
  FOpcaoNaoConferidos->setGeometry(8, 14, 110, 17);
  FOpcaoNaoConferidos->setChecked(true);
  FOpcaoTodos = new QRadioButton(QStringLiteral("Todos"), Visualizar);
  FOpcaoTodos->setObjectName(QStringLiteral("VisualizarTodos"));
  FOpcaoTodos->setGeometry(120, 14, 100, 17);
  // The two options exclude each other: "Todos" toggles once per change of
  // the choice, whichever was clicked.
  ConectarGuardado(FOpcaoTodos, &QRadioButton::toggled, this, &TFVisualizar::VisualizarClick);

  MarcarTodos = new QCheckBox(QStringLiteral("Marcar todos"), this);
  MarcarTodos->setObjectName(QStringLiteral("MarcarTodos"));
  MarcarTodos->setGeometry(538, 12, 100, 17);
  ConectarGuardado(MarcarTodos, &QCheckBox::toggled, this, &TFVisualizar::MarcarTodosClick);

  btExcluir = new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("&Excluir Erros"), this);
  btExcluir->setObjectName(QStringLiteral("btExcluir"));
  btExcluir->setGeometry(650, 5, 115, 27);
  ConectarGuardado(btExcluir, &QPushButton::clicked, this, &TFVisualizar::btExcluirClick);

  btFechar =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Fechar"), this);
  btFechar->setObjectName(QStringLiteral("btFechar"));
  btFechar->setGeometry(kLarguraCliente - 8 - 90, 5, 90, 27);
  ConectarGuardado(btFechar, &QPushButton::clicked, this, &TFVisualizar::btFecharClick);
}

void TFVisualizar::CriarGrid() {
  GridVisualizar = new QTableView(this);
  GridVisualizar->setObjectName(QStringLiteral("GridVisualizar"));
  GridVisualizar->setGeometry(0, kAlturaCliente - kAlturaGrid, kLarguraCliente, kAlturaGrid);
  GridVisualizar->setModel(cdsIntegErro);
  GridVisualizar->setItemDelegate(new DelegadoGridVisualizar(
      [this](QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) {
        GuardaFalhas::Executar([&] { GridVisualizarDrawColumnCell(pintor, opcao, indice); });
      },
      GridVisualizar));
  GridVisualizar->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridVisualizar->setSelectionBehavior(QAbstractItemView::SelectItems);
  GridVisualizar->setSelectionMode(QAbstractItemView::SingleSelection);
  GridVisualizar->setShowGrid(false);
  GridVisualizar->setWordWrap(false);
  GridVisualizar->setCornerButtonEnabled(false);
  QHeaderView* indicador = GridVisualizar->verticalHeader();
  indicador->setSectionResizeMode(QHeaderView::Fixed);
  indicador->setDefaultSectionSize(QFontMetrics(GridVisualizar->font()).height() + 4);
  indicador->setFixedWidth(12);
  indicador->setHighlightSections(true);
  QHeaderView* titulos = GridVisualizar->horizontalHeader();
  titulos->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  titulos->setHighlightSections(false);
  titulos->setStretchLastSection(false);
  GridVisualizar->setColumnWidth(TabelaErros::kConferido, 64);
  GridVisualizar->setColumnWidth(TabelaErros::kDataErro, 120);
  GridVisualizar->setColumnWidth(TabelaErros::kMensagem, 691);
  ConectarGuardado(GridVisualizar, &QTableView::doubleClicked, this, &TFVisualizar::GridVisualizarDblClick);
}

void TFVisualizar::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  // "Fechar" keeps to the right edge; the grid keeps to the bottom and
  // takes whatever the strip above it leaves.
  btFechar->move(width() - 8 - btFechar->width(), btFechar->y());
  const int topo = qMin(kAlturaCliente - kAlturaGrid, height());
  GridVisualizar->setGeometry(0, topo, width(), height() - topo);
}

void TFVisualizar::FormShow() {
  EnviarRotina();
  Painel().AtribuirConexao(this);
  {
    const QSignalBlocker opcoes1(FOpcaoNaoConferidos);
    const QSignalBlocker opcoes2(FOpcaoTodos);
    const QSignalBlocker marcar(MarcarTodos);
    FOpcaoNaoConferidos->setChecked(true);
    MarcarTodos->setChecked(false);
  }
  CarregarErros();
}

void TFVisualizar::btFecharClick() { close(); }

// ---- loading and showing the rows ----

void TFVisualizar::VisualizarClick() {
  sqlIntegErro->SetSql(FOpcaoNaoConferidos->isChecked() ? Catalogo::ErrosNaoConferidos() : Catalogo::ErrosTodos());
  CarregarErros();
}

void TFVisualizar::CarregarErros() {
  const int coluna = qMax(0, GridVisualizar->currentIndex().column());
  cdsIntegErro->Fechar();
  sqlIntegErro->SetParam(QStringLiteral("PCodEmpresa"), FCodEmpresa);
  sqlIntegErro->SetParam(QStringLiteral("PMaqECF"), FMaquinaECF);
  cdsIntegErro->Abrir(*sqlIntegErro);
  if (cdsIntegErro->QtdLinhas() > 0) GridVisualizar->setCurrentIndex(cdsIntegErro->index(0, coluna));
}

QString TFVisualizar::cdsIntegErroMensagemGetText(int linha) const {
  // On its one line, as the grid shows every cell.
  return TextoUmaLinha(cdsIntegErro->Linha(linha).MsgErro.left(kTamanhoMensagem));
}

void TFVisualizar::GridVisualizarDrawColumnCell(QPainter* pintor, const QStyleOptionViewItem& opcao,
                                                const QModelIndex& indice) const {
  if (cdsIntegErro->headerData(indice.column(), Qt::Horizontal, TabelaErros::RoleNomeCampo).toString() !=
      TabelasIntegracao::Coluna::Conferido)
    return;
  // The cell's own background covers the letter drawn underneath.
  const QPalette::ColorGroup grupo = !(opcao.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opcao.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
  const QBrush fundo = (opcao.state & QStyle::State_Selected) ? opcao.palette.brush(grupo, QPalette::Highlight)
                       : opcao.backgroundBrush.style() != Qt::NoBrush ? opcao.backgroundBrush
                                                                       : opcao.palette.brush(grupo, QPalette::Base);
  pintor->fillRect(opcao.rect, fundo);
  if (cdsIntegErro->Linha(indice.row()).Conferido == QStringLiteral("S"))
    pintor->drawPixmap(opcao.rect.left() + 10, opcao.rect.top() + 1, ImageList.at(0));
}

// ---- acknowledging ----

void TFVisualizar::GridVisualizarDblClick(const QModelIndex& indice) {
  // A double click away from the rows finds no row: nothing is changed.
  if (!indice.isValid() || indice.row() >= cdsIntegErro->QtdLinhas()) return;
  const int linha = indice.row();
  const QString campo = TabelaErros::NomeCampo(indice.column());

  if (campo == TabelasIntegracao::Coluna::Conferido) {
    const TabelaErros::Registro& registro = cdsIntegErro->Linha(linha);
    const QString novo = registro.Conferido == QStringLiteral("S") ? QStringLiteral("N") : QStringLiteral("S");
    cdsIntegErro->SetConferido(linha, novo);
    AtualizarConferido(novo, QString::number(registro.IdIntegErro));
    update();
    GridVisualizar->viewport()->update();
    return;
  }

  if (campo == QStringLiteral("Mensagem") && !cdsIntegErro->Linha(linha).MsgErro.isEmpty()) {
    TFMensagem* mensagem = TFMensagem::Instancia();
    if (!mensagem) mensagem = new TFMensagem();
    mensagem->Memo->SetTexto(cdsIntegErro->Linha(linha).MsgErro);
    // Freed by exec when it returns (the window deletes itself on close).
    mensagem->exec();
  }
}

void TFVisualizar::AtualizarConferido(const QString& conferido, const QString& idIntegErro) {
  // The grid shows what the database holds, not a change rolled back.
  const auto motivo = GravarEmTransacao([&] { GravarConferido(conferido, idIntegErro); },
                                        [this] { cdsIntegErro->DesfazerAlteracoes(); });
  if (!motivo) {
    cdsIntegErro->AceitarAlteracoes();
    return;
  }
  Dialogos::Erro(QStringLiteral("Erro ao gravar alteração na tabela. Motivo: ") + *motivo);
}

std::optional<QString> TFVisualizar::GravarEmTransacao(const std::function<void()>& gravacao,
                                                       const std::function<void()>& desfazer) {
  TFPainel& painel = Painel();
  bool iniciada = false;
  const auto motivo = Falhou([&] {
    painel.IniciaTransacao();
    iniciada = true;
    gravacao();
    painel.ConfirmaTransacao();
  });
  if (!motivo) return std::nullopt;
  if (desfazer) desfazer();
  // A start that failed in the driver (the server cannot be reached) left no
  // transaction behind: the guard's "não aberta" would hide the real cause,
  // so there is nothing to cancel. The guard's own refusal (one already
  // open) and every later failure still cancel.
  if (iniciada || painel.cnVelmora().EmTransacao()) painel.CancelaTransacao();
  return motivo;
}

void TFVisualizar::GravarConferido(const QString& conferido, const QString& idIntegErro) {
  Atualizar->Fechar();
  Atualizar->SetSql(Catalogo::GravarConferido());
  Atualizar->SetParam(QStringLiteral("PConferido"), conferido);
  Atualizar->SetParam(QStringLiteral("PCodEmpresa"), FCodEmpresa);
  Atualizar->SetParam(QStringLiteral("PMaqECF"), FMaquinaECF);
  Atualizar->SetParam(QStringLiteral("PIdIntegErro"), idIntegErro);
  Atualizar->Executar();
}

void TFVisualizar::MarcarTodosClick() {
  // Clearing the box undoes nothing.
  if (MarcarTodos->isChecked()) MarcarTodosConferidos();
}

void TFVisualizar::MarcarTodosConferidos() {
  // One transaction: the commit makes every acknowledgement of the pass
  // stick, a failure none of them.
  const auto motivo = GravarEmTransacao(
      [this] {
        GridVisualizar->setUpdatesEnabled(false);
        const auto retomar = qScopeGuard([this] { GridVisualizar->setUpdatesEnabled(true); });
        for (int linha = 0; linha < cdsIntegErro->QtdLinhas(); ++linha) {
          if (cdsIntegErro->Linha(linha).Conferido != QStringLiteral("N")) continue;
          cdsIntegErro->SetConferido(linha, QStringLiteral("S"));
          GravarConferido(QStringLiteral("S"), QString::number(cdsIntegErro->Linha(linha).IdIntegErro));
        }
      },
      [this] { cdsIntegErro->DesfazerAlteracoes(); });
  if (!motivo) {
    cdsIntegErro->AceitarAlteracoes();
    return;
  }
  Dialogos::Erro(QStringLiteral("Erro ao gravar alteração na tabela. Motivo: ") + *motivo);
}

// ---- deleting ----

void TFVisualizar::btExcluirClick() {
  if (!Dialogos::Confirmar(QStringLiteral("Deseja realmente excluir erros?"))) return;
  if (!ExcluirErros()) return;
  Dialogos::Informacao(QStringLiteral("Exclusão finalizada com sucesso."));
  close();
}

bool TFVisualizar::ExcluirErros() {
  const auto motivo = GravarEmTransacao([this] {
    Atualizar->Fechar();
    Atualizar->SetSql(Catalogo::ExcluirErros());
    Atualizar->SetParam(QStringLiteral("PCodEmpresa"), FCodEmpresa);
    Atualizar->Executar();
  });
  if (!motivo) return true;
  Dialogos::Atual().Mostrar(QStringLiteral("Erro"), QStringLiteral("Erro ao excluir. Motivo: ") + *motivo,
                            Dialogos::Icone::Exclamacao, Dialogos::Botoes::Ok);
  return false;
}
