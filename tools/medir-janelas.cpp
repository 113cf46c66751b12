// Measures the windows whose work grows with the data, driving the real
// window classes (offscreen by default), one measurement per run so that
// the peak memory is that measurement's own:
//
//   registros   the records viewer on a benchmark database (built by
//               gerar-banco-desempenho): "Todos os registros" for one
//               machine, until the list with every key text is painted;
//               catalogue queries run, memory growth
//   log         the log viewer on a generated log file of the given size:
//               until its text is painted; peak memory
//   partida     the panel from its creation to the first painted grid with
//               rows, on the database its Caminho.ini names (the demo's)
//
//   medir-janelas --medir=registros --banco=ARQUIVO [--filial=01] [--maquina=C0]
//   medir-janelas --medir=log --mib=50 [--pasta=/tmp]
//   medir-janelas --medir=partida --ini=Caminho.ini
//
// Output: "chave=valor" lines. Times in milliseconds, memory in MiB. Any
// message box the windows raise is printed and makes the run fail.

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "platform/Dialogos.h"
#include "app/ui/TFPainel.h"
#include "model/Catalogo.h"
#include "platform/ConexaoBanco.h"
#include "platform/FusoHorario.h"
#include "platform/ConsultaSql.h"
#include "windows/TFUltRegSincro.h"
#include "windows/TFVisualizarLog.h"

namespace {

QElapsedTimer gRelogio;  // started first thing in main

double MemoriaMiB(const char* campo) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& linha : status.readAll().split('\n'))
    if (linha.startsWith(campo))
      return linha.mid(int(std::strlen(campo))).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return 0;
}

// CPU time of the whole process (the embedded engine included): unlike the
// wall clock, it does not grow when other programs take the processors.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The kernel's peak resident size starts again from the current size, so the
// peak read afterwards belongs to what ran in between.
void ReiniciarPico() {
  QFile limpar(QStringLiteral("/proc/self/clear_refs"));
  if (limpar.open(QIODevice::WriteOnly)) limpar.write("5");
}

// Answers the windows without a person: the chosen file comes from the
// run's options; a box is a failure of the run.
class DialogosMedicao : public Dialogos {
 public:
  Resposta Mostrar(const QString& titulo, const QString& texto, Icone, Botoes) override {
    std::fprintf(stderr, "caixa: %s: %s\n", qUtf8Printable(titulo), qUtf8Printable(texto));
    ++FCaixas;
    return Resposta::Ok;
  }
  std::optional<QString> EscolherArquivo(const QString&) override { return FArquivo; }
  void CopiarTexto(const QString&) override {}

  QString FArquivo;
  int FCaixas = 0;
};

// Waits, handling events, until the widget has painted after the call.
class EsperaPintura : public QObject {
 public:
  explicit EsperaPintura(QWidget* alvo) : FAlvo(alvo) { FAlvo->installEventFilter(this); }
  ~EsperaPintura() override { FAlvo->removeEventFilter(this); }
  void Esperar() {
    FAlvo->update();
    while (!FPintou) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  bool eventFilter(QObject* alvo, QEvent* evento) override {
    if (alvo == FAlvo && evento->type() == QEvent::Paint) FPintou = true;
    return false;
  }

 private:
  QWidget* FAlvo;
  bool FPintou = false;
};

QString Opcao(const QStringList& argumentos, const char* nome, const QString& padrao = {}) {
  const QString prefixo = QStringLiteral("--%1=").arg(QLatin1String(nome));
  for (const QString& arg : argumentos)
    if (arg.startsWith(prefixo)) return arg.mid(prefixo.size());
  return padrao;
}

int MedirRegistros(const QStringList& argumentos, DialogosMedicao& dialogos) {
  const QString banco = Opcao(argumentos, "banco");
  if (!QFile::exists(banco)) {
    std::fprintf(stderr, "Banco não encontrado: %s\n", qUtf8Printable(banco));
    return 2;
  }
  TFPainel painel(QStringLiteral("/nao/existe/Caminho.ini"));
  dialogos.FCaixas = 0;  // the missing configuration's box
  ConexaoBanco& conexao = painel.cnVelmora();
  conexao.SetParam(QStringLiteral("Database"), banco);
  conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
  conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));

  auto* janela = new TFUltRegSincro();
  janela->FCodEmpresa = Opcao(argumentos, "filial", QStringLiteral("01"));
  janela->FMaquinaECF = Opcao(argumentos, "maquina", QStringLiteral("C0"));
  janela->show();
  QApplication::processEvents();
  auto* paginas = janela->findChild<QTabWidget*>(QStringLiteral("PageControl"));
  auto* grade = janela->findChild<QTableView*>(QStringLiteral("GridPrx"));
  auto* todos = janela->findChild<QPushButton*>(QStringLiteral("btTodos"));
  paginas->setCurrentIndex(2);
  QApplication::processEvents();

  int catalogo = 0, instrucoes = 0;
  conexao.SetObservador([&](const QString& sql) {
    ++instrucoes;
    if (sql == Catalogo::ChavePrimaria()) ++catalogo;
  });
  const double antes = MemoriaMiB("VmRSS:");
  ReiniciarPico();
  QElapsedTimer relogio;
  relogio.start();
  double cpu = CpuMs();
  {
    EsperaPintura pintura(grade->viewport());
    todos->click();
    pintura.Esperar();
  }
  const double exibido = relogio.nsecsElapsed() / 1e6;
  const double cpuExibido = CpuMs() - cpu;
  const double crescimento = MemoriaMiB("VmRSS:") - antes, picoAcima = MemoriaMiB("VmHWM:") - antes;
  conexao.SetObservador({});

  // The share of the statement: run alone on the same attachment, its rows
  // fetched and decoded as any list's are, with nothing else done.
  double instrucao = 0, cpuInstrucao = 0;
  {
    ConsultaSql consulta(&conexao);
    consulta.SetSql(Catalogo::ProximosRegistrosTodos());
    consulta.SetParam(QStringLiteral("PMaquina"), janela->FCodEmpresa);
    consulta.SetParam(QStringLiteral("PMaqECF"), janela->FMaquinaECF);
    relogio.start();
    cpu = CpuMs();
    consulta.Abrir();
    instrucao = relogio.nsecsElapsed() / 1e6;
    cpuInstrucao = CpuMs() - cpu;
  }

  // Every key text is computed by the load; reading them all back proves it
  // and counts the distinct tables.
  QAbstractItemModel* modelo = grade->model();
  QSet<QString> tabelas;
  int comChave = 0;
  for (int linha = 0; linha < modelo->rowCount(); ++linha) {
    tabelas.insert(modelo->index(linha, 1).data().toString());
    if (!modelo->index(linha, 2).data().toString().isEmpty()) ++comChave;
  }
  std::printf("registros.linhas=%d\nregistros.com_chave=%d\nregistros.tabelas=%lld\n", modelo->rowCount(), comChave,
              static_cast<long long>(tabelas.size()));
  std::printf("registros.exibido_ms=%.1f\nregistros.cpu_exibido_ms=%.1f\n", exibido, cpuExibido);
  std::printf("registros.instrucao_ms=%.1f\nregistros.cpu_instrucao_ms=%.1f\n", instrucao, cpuInstrucao);
  std::printf("registros.consultas_catalogo=%d\nregistros.instrucoes=%d\n", catalogo, instrucoes);
  std::printf("registros.memoria_antes_mib=%.1f\nregistros.crescimento_mib=%.1f\nregistros.pico_acima_mib=%.1f\n",
              antes, crescimento, picoAcima);
  delete janela;
  return dialogos.FCaixas == 0 && modelo ? 0 : 1;
}

// A log of the integration service: time-stamped lines of varied length,
// accented text in Windows-1252, CR LF.
QString GerarLog(const QString& pasta, qint64 tamanho) {
  const QString caminho = QDir(pasta).filePath(QStringLiteral("integracao-%1.txt").arg(tamanho));
  QFile arquivo(caminho);
  if (!arquivo.open(QIODevice::WriteOnly)) return {};
  QByteArray bloco;
  for (int i = 0; bloco.size() < 1 << 20; ++i) {
    bloco += QByteArray("09/12/2026 ") + QByteArray::number(10 + i % 14) + ":" +
             QByteArray::number(10 + i % 50) + ":" + QByteArray::number(10 + i % 49) + " [C" +
             QByteArray::number(i % 200) + "] ";
    switch (i % 4) {
      case 0: bloco += "Integra\xe7\xe3o conclu\xed" "da: " + QByteArray::number(i % 977) + " registros recebidos"; break;
      case 1: bloco += "UPDATE PRODUTO SET DESCRICAO = 'Item " + QByteArray::number(i) + "' WHERE CAMPO0 = '" +
                       QByteArray::number(i * 7) + "';"; break;
      case 2: bloco += "Erro: violation of PRIMARY or UNIQUE KEY constraint on table PRODUTO"; break;
      default: bloco += "Conex\xe3o com o servidor restabelecida"; break;
    }
    bloco += "\r\n";
  }
  for (qint64 escrito = 0; escrito < tamanho; escrito += bloco.size())
    arquivo.write(bloco.constData(), std::min<qint64>(bloco.size(), tamanho - escrito));
  return caminho;
}

int MedirLog(const QStringList& argumentos, DialogosMedicao& dialogos) {
  bool ok = false;
  const qint64 mib = Opcao(argumentos, "mib").toLongLong(&ok);
  if (!ok || mib <= 0) return 2;
  QTemporaryDir temporaria(QDir(Opcao(argumentos, "pasta", QDir::tempPath())).filePath(QStringLiteral("log-XXXXXX")));
  dialogos.FArquivo = GerarLog(temporaria.path(), mib * 1024 * 1024);
  if (dialogos.FArquivo.isEmpty()) return 2;

  TFPainel painel(QStringLiteral("/nao/existe/Caminho.ini"));
  dialogos.FCaixas = 0;
  auto* janela = new TFVisualizarLog();
  janela->show();
  QApplication::processEvents();
  auto* memo = janela->findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
  auto* botao = janela->findChild<QToolButton*>(QStringLiteral("SpeedButton"));

  // The share of reading and decoding the file, alone, before the window
  // does it all; its memory is given back before the measurement.
  QElapsedTimer relogio;
  relogio.start();
  double cpu = CpuMs();
  qsizetype caracteres = TFVisualizarLog::LerArquivo(dialogos.FArquivo).size();
  const double leitura = relogio.nsecsElapsed() / 1e6, cpuLeitura = CpuMs() - cpu;

  const double antes = MemoriaMiB("VmRSS:");
  ReiniciarPico();
  relogio.start();
  cpu = CpuMs();
  {
    EsperaPintura pintura(memo->viewport());
    botao->click();
    pintura.Esperar();
  }
  const double exibido = relogio.nsecsElapsed() / 1e6, cpuExibido = CpuMs() - cpu;
  const double pico = MemoriaMiB("VmHWM:");
  std::printf("log.caracteres=%lld\nlog.leitura_ms=%.1f\nlog.cpu_leitura_ms=%.1f\nlog.cpu_exibido_ms=%.1f\n",
              static_cast<long long>(caracteres), leitura, cpuLeitura, cpuExibido);
  std::printf("log.arquivo_mib=%lld\nlog.linhas=%d\nlog.exibido_ms=%.1f\n", static_cast<long long>(mib),
              memo->document()->blockCount(), exibido);
  std::printf("log.memoria_antes_mib=%.1f\nlog.pico_mib=%.1f\nlog.pico_acima_mib=%.1f\nlog.pico_por_arquivo=%.2f\n",
              antes, pico, pico - antes, (pico - antes) / double(mib));
  delete janela;
  return dialogos.FCaixas == 0 ? 0 : 1;
}

int MedirPartida(const QStringList& argumentos, DialogosMedicao& dialogos, double aplicacao) {
  const QString ini = Opcao(argumentos, "ini");
  if (!QFile::exists(ini)) {
    std::fprintf(stderr, "Configuração não encontrada: %s\n", qUtf8Printable(ini));
    return 2;
  }
  const double inicio = gRelogio.nsecsElapsed() / 1e6;
  const double cpuInicio = CpuMs();
  TFPainel painel(ini);
  const double criado = gRelogio.nsecsElapsed() / 1e6;
  auto* grade = painel.findChild<QTableView*>(QStringLiteral("GridPainel"));
  // The first paint of the grid that has rows to show.
  class PrimeiraGrade : public QObject {
   public:
    explicit PrimeiraGrade(QTableView* g) : FGrade(g) {}
    bool eventFilter(QObject* alvo, QEvent* evento) override {
      if (alvo == FGrade->viewport() && evento->type() == QEvent::Paint && FGrade->model()->rowCount() > 0 &&
          FMomento < 0)
        FMomento = gRelogio.nsecsElapsed() / 1e6;
      return false;
    }
    QTableView* FGrade;
    double FMomento = -1;
  } primeira(grade);
  grade->viewport()->installEventFilter(&primeira);
  painel.show();
  while (primeira.FMomento < 0 && dialogos.FCaixas == 0 && painel.isVisible())
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  grade->viewport()->removeEventFilter(&primeira);
  std::printf("partida.linhas=%d\npartida.aplicacao_ms=%.1f\npartida.janela_criada_ms=%.1f\n",
              grade->model()->rowCount(), aplicacao, criado - inicio + aplicacao);
  std::printf("partida.primeira_grade_ms=%.1f\npartida.cpu_ms=%.1f\npartida.memoria_pico_mib=%.1f\n",
              primeira.FMomento, CpuMs() - cpuInicio, MemoriaMiB("VmHWM:"));
  return primeira.FMomento >= 0 && dialogos.FCaixas == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  gRelogio.start();
  FusoHorario::FixarDoSistema();  // as the program does
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const double aplicacao = gRelogio.nsecsElapsed() / 1e6;
  DialogosMedicao dialogos;
  Dialogos::Instalar(&dialogos);
  const QStringList argumentos = app.arguments();
  const QString medida = Opcao(argumentos, "medir");
  int resultado = 2;
  if (medida == QLatin1String("registros")) resultado = MedirRegistros(argumentos, dialogos);
  else if (medida == QLatin1String("log")) resultado = MedirLog(argumentos, dialogos);
  else if (medida == QLatin1String("partida")) resultado = MedirPartida(argumentos, dialogos, aplicacao);
  if (resultado == 2)
    std::fprintf(stderr,
                 "Uso: medir-janelas --medir=registros --banco=ARQUIVO [--filial=01] [--maquina=C0]\n"
                 "     medir-janelas --medir=log --mib=N [--pasta=PASTA]\n"
                 "     medir-janelas --medir=partida --ini=Caminho.ini\n");
  Dialogos::Instalar(nullptr);
  return resultado;
}
