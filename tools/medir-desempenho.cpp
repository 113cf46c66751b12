// Measures the refresh of the status rows on a benchmark database (built by
// gerar-banco-desempenho), in one run on the same database and attachment
// kind, each way of counting side by side:
//
//   atualizacao   the panel's own refresh (AtualizacaoPainel over TabelaStatus,
//                 no view), median of --repeticoes
//   piso          the same statements with the same values, back to back, by
//                 a minimal client over the same client library: prepared
//                 once, every value bound as text, one read-committed
//                 transaction per statement as the panel's reads have (the
//                 fast way: one read-only snapshot for all three), nothing
//                 kept but the numbers
//   razao         atualizacao / piso, by the wall clock and by the CPU time
//                 of the process (engine and client together: the engine is
//                 embedded), which the other programs of the machine do not
//                 inflate
//   preparos      statements prepared by the first refresh of a fresh
//                 refresh object and by each later one
//   sinais        model signals of one refresh (resets, inserted rows,
//                 changed cells)
//   grade         the refresh again with a shown grid on the table (the
//                 panel's own grid style), events processed, and one paint
//                 of the grid (offscreen)
//
//   medir-desempenho --banco=ARQUIVO [--repeticoes=3] [--maneiras=padrao,rapida]
//                    [--grade=todas|rapida]
//
// ARQUIVO may name a database on a server ("127.0.0.1/PORTA:/caminho"), as
// SYSDBA with "masterkey": through tools/proxy-latencia this measures what
// the round trips of each way cost on a slow link.
//
// --grade=rapida leaves out the extra refresh with the grid for the default
// way (its grid cost is the fast way's; its statements take minutes at the
// largest sizes); its com_grade_ms is then -1.
//
// Output: "chave=valor" lines, then one line "tabela: | ... |" for
// docs/PERFORMANCE.md. Times in milliseconds, memory in MiB.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QPixmap>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <firebird/Interface.h>
#include <functional>
#include <memory>
#include <vector>

#include "model/Catalogo.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "panel/ui/EstiloGrid.h"
#include "platform/ConexaoBanco.h"
#include "platform/FusoHorario.h"
#include "platform/Falha.h"
#include "platform/SqlComParametros.h"
#include "platform/Windows1252.h"

using namespace Firebird;

namespace {

struct Opcoes {
  QString Banco;
  int Repeticoes = 3;
  QStringList Maneiras{QStringLiteral("padrao"), QStringLiteral("rapida")};
  bool GradePadrao = true;
};

bool Ler(const QStringList& argumentos, Opcoes& o) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    const QString valor = arg.section(u'=', 1);
    bool ok = true;
    if (arg.startsWith(QLatin1String("--banco="))) o.Banco = valor;
    else if (arg.startsWith(QLatin1String("--repeticoes="))) o.Repeticoes = valor.toInt(&ok);
    else if (arg.startsWith(QLatin1String("--maneiras="))) o.Maneiras = valor.split(u',', Qt::SkipEmptyParts);
    else if (arg == QLatin1String("--grade=todas")) o.GradePadrao = true;
    else if (arg == QLatin1String("--grade=rapida")) o.GradePadrao = false;
    else return false;
    if (!ok) return false;
  }
  for (const QString& m : o.Maneiras)
    if (m != QLatin1String("padrao") && m != QLatin1String("rapida")) return false;
  return !o.Banco.isEmpty() && o.Repeticoes > 0;
}

// Resident memory now and at its peak, from the kernel's own account.
double MemoriaMiB(const char* campo) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& linha : status.readAll().split('\n'))
    if (linha.startsWith(campo)) return linha.mid(int(std::strlen(campo))).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return 0;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// ---------------------------------------------------------------------------
// The minimal client: the Firebird API and nothing else.

class Piso {
 public:
  explicit Piso(const QString& banco) : FMestre(fb_get_master_interface()), FSt(FMestre->getStatus()) {
    IUtil* util = FMestre->getUtilInterface();
    IXpbBuilder* dpb = util->getXpbBuilder(&FSt, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&FSt, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&FSt, isc_dpb_password, "masterkey");
    dpb->insertString(&FSt, isc_dpb_sql_role_name, "RoleName");
    dpb->insertInt(&FSt, isc_dpb_sql_dialect, 1);
    const QByteArray nome = banco.toLocal8Bit();
    IProvider* provedor = FMestre->getDispatcher();
    FAnexo = provedor->attachDatabase(&FSt, nome.constData(), dpb->getBufferLength(&FSt), dpb->getBuffer(&FSt));
    provedor->release();
    dpb->dispose();
    IXpbBuilder* tpb = util->getXpbBuilder(&FSt, IXpbBuilder::TPB, nullptr, 0);
    tpb->insertTag(&FSt, isc_tpb_read_committed);
    tpb->insertTag(&FSt, isc_tpb_rec_version);
    tpb->insertTag(&FSt, isc_tpb_wait);
    tpb->insertTag(&FSt, isc_tpb_write);
    FTpb = QByteArray(reinterpret_cast<const char*>(tpb->getBuffer(&FSt)), int(tpb->getBufferLength(&FSt)));
    tpb->dispose();
    tpb = util->getXpbBuilder(&FSt, IXpbBuilder::TPB, nullptr, 0);
    tpb->insertTag(&FSt, isc_tpb_concurrency);
    tpb->insertTag(&FSt, isc_tpb_nowait);
    tpb->insertTag(&FSt, isc_tpb_read);
    FTpbInstantanea = QByteArray(reinterpret_cast<const char*>(tpb->getBuffer(&FSt)), int(tpb->getBufferLength(&FSt)));
    tpb->dispose();
  }

  // Until Encerrar, every statement runs in one read-only snapshot.
  void IniciarInstantanea() {
    FInstantanea = FAnexo->startTransaction(&FSt, unsigned(FTpbInstantanea.size()),
                                            reinterpret_cast<const unsigned char*>(FTpbInstantanea.constData()));
  }
  void EncerrarInstantanea() {
    FInstantanea->commit(&FSt);
    FInstantanea = nullptr;
  }
  ~Piso() {
    for (Instrucao& i : FInstrucoes) {
      if (i.Entrada) i.Entrada->release();
      i.Saida->release();
      i.Stmt->free(&FSt);
    }
    FAnexo->detach(&FSt);
    FSt.dispose();
  }

  // Prepared once; every parameter a VARCHAR(64) of charset NONE.
  int Preparar(const QString& sql) {
    const SqlComParametros texto(sql);
    const QByteArray bytes = Windows1252::deUnicode(texto.Posicional());
    ITransaction* t = Iniciar();
    Instrucao i;
    i.Stmt = FAnexo->prepare(&FSt, t, 0, bytes.constData(), 1, IStatement::PREPARE_PREFETCH_METADATA);
    t->commit(&FSt);
    i.Saida = i.Stmt->getOutputMetadata(&FSt);
    i.Linha.resize(i.Saida->getMessageLength(&FSt));
    const int parametros = int(texto.NomesPorPosicao().size());
    if (parametros > 0) {
      IMessageMetadata* original = i.Stmt->getInputMetadata(&FSt);
      IMetadataBuilder* b = original->getBuilder(&FSt);
      for (int p = 0; p < parametros; ++p) {
        b->setType(&FSt, p, SQL_VARYING + 1);
        b->setSubType(&FSt, p, 0);
        b->setScale(&FSt, p, 0);
        b->setCharSet(&FSt, p, 0);
        b->setLength(&FSt, p, 64);
      }
      i.Entrada = b->getMetadata(&FSt);
      b->release();
      original->release();
      i.Buffer.assign(i.Entrada->getMessageLength(&FSt), 0);
    }
    FInstrucoes.push_back(std::move(i));
    return int(FInstrucoes.size()) - 1;
  }

  // Runs with the values (one per "?", in order) and hands each fetched row
  // to the reader.
  void Executar(int indice, const std::vector<QByteArray>& valores,
                const std::function<void(IMessageMetadata*, const unsigned char*)>& leitor) {
    Instrucao& i = FInstrucoes[size_t(indice)];
    for (unsigned p = 0; p < valores.size(); ++p) {
      auto* nulo = reinterpret_cast<short*>(&i.Buffer[i.Entrada->getNullOffset(&FSt, p)]);
      unsigned char* campo = &i.Buffer[i.Entrada->getOffset(&FSt, p)];
      *nulo = 0;
      const auto tamanho = static_cast<unsigned short>(valores[p].size());
      std::memcpy(campo, &tamanho, sizeof tamanho);
      std::memcpy(campo + sizeof tamanho, valores[p].constData(), tamanho);
    }
    ITransaction* t = FInstantanea ? FInstantanea : Iniciar();
    IResultSet* cursor =
        i.Stmt->openCursor(&FSt, t, i.Entrada, i.Entrada ? i.Buffer.data() : nullptr, i.Saida, 0);
    while (cursor->fetchNext(&FSt, i.Linha.data()) == IStatus::RESULT_OK) leitor(i.Saida, i.Linha.data());
    cursor->close(&FSt);
    if (!FInstantanea) t->commit(&FSt);
  }

  unsigned Colunas(IMessageMetadata* m) { return m->getCount(&FSt); }

  // A text column as its bytes (CHAR keeps its blanks), or a number.
  QByteArray Texto(IMessageMetadata* m, const unsigned char* linha, unsigned coluna) {
    if (*reinterpret_cast<const short*>(linha + m->getNullOffset(&FSt, coluna))) return {};
    const unsigned char* dado = linha + m->getOffset(&FSt, coluna);
    if ((m->getType(&FSt, coluna) & ~1u) == SQL_VARYING) {
      unsigned short n;
      std::memcpy(&n, dado, sizeof n);
      return QByteArray(reinterpret_cast<const char*>(dado + 2), n);
    }
    return QByteArray(reinterpret_cast<const char*>(dado), int(m->getLength(&FSt, coluna)));
  }
  qint64 Numero(IMessageMetadata* m, const unsigned char* linha, unsigned coluna) {
    if (*reinterpret_cast<const short*>(linha + m->getNullOffset(&FSt, coluna))) return 0;
    const unsigned char* dado = linha + m->getOffset(&FSt, coluna);
    switch (m->getType(&FSt, coluna) & ~1u) {
      case SQL_LONG: {
        qint32 v;
        std::memcpy(&v, dado, sizeof v);
        return v;
      }
      case SQL_INT64: {
        qint64 v;
        std::memcpy(&v, dado, sizeof v);
        return v;
      }
      case SQL_DOUBLE: {
        double v;
        std::memcpy(&v, dado, sizeof v);
        return qint64(v);
      }
      default:
        throw Falha(QStringLiteral("tipo numérico inesperado no piso"));
    }
  }

 private:
  struct Instrucao {
    IStatement* Stmt = nullptr;
    IMessageMetadata* Entrada = nullptr;
    IMessageMetadata* Saida = nullptr;
    std::vector<unsigned char> Buffer, Linha;
  };
  ITransaction* Iniciar() {
    return FAnexo->startTransaction(&FSt, unsigned(FTpb.size()), reinterpret_cast<const unsigned char*>(FTpb.constData()));
  }

  IMaster* FMestre;
  ThrowStatusWrapper FSt;
  IAttachment* FAnexo = nullptr;
  QByteArray FTpb, FTpbInstantanea;
  ITransaction* FInstantanea = nullptr;
  std::vector<Instrucao> FInstrucoes;
};

// Blanks and control characters at both ends go, as the panel trims the
// branch code before binding it.
QByteArray SemBrancos(QByteArray texto) {
  qsizetype inicio = 0, fim = texto.size();
  while (inicio < fim && static_cast<unsigned char>(texto[inicio]) <= ' ') ++inicio;
  while (fim > inicio && static_cast<unsigned char>(texto[fim - 1]) <= ' ') --fim;
  return texto.mid(inicio, fim - inicio);
}

// One refresh's statements by the minimal client; the sum of the counts
// comes back so that nothing is optimised away.
class RefreshPiso {
 public:
  RefreshPiso(Piso& piso, bool rapida) : FPiso(piso), FRapida(rapida) {
    FStatus = piso.Preparar(Catalogo::StatusMaquinas());
    if (rapida) {
      FAlteracoes = piso.Preparar(Catalogo::ContagemRapidaAlteracoes());
      FMaquinas = piso.Preparar(Catalogo::ContagemRapidaMaquinas());
    } else {
      FEnviar = piso.Preparar(Catalogo::RegistrosEnviar());
      FFila = piso.Preparar(Catalogo::RegistrosFila());
    }
  }

  qint64 Rodar() {
    if (FRapida) FPiso.IniciarInstantanea();
    const qint64 soma = RodarInstrucoes();
    if (FRapida) FPiso.EncerrarInstantanea();
    return soma;
  }

 private:
  qint64 RodarInstrucoes() {
    std::vector<std::pair<QByteArray, QByteArray>> maquinas;
    FPiso.Executar(FStatus, {}, [&](IMessageMetadata* m, const unsigned char* l) {
      maquinas.emplace_back(SemBrancos(FPiso.Texto(m, l, 1)), FPiso.Texto(m, l, 3));
    });
    qint64 soma = 0;
    if (maquinas.empty()) return soma;
    auto somar = [&](IMessageMetadata* m, const unsigned char* l) {
      const unsigned colunas = FPiso.Colunas(m);
      for (unsigned c = 0; c < colunas; ++c) soma += FPiso.Numero(m, l, c);
    };
    if (FRapida) {
      // Every machine at once; the key columns are texts, the rest counts.
      FPiso.Executar(FAlteracoes, {}, somar);
      FPiso.Executar(FMaquinas, {}, [&](IMessageMetadata* m, const unsigned char* l) {
        const unsigned colunas = FPiso.Colunas(m);
        for (unsigned c = 2; c < colunas; ++c) soma += FPiso.Numero(m, l, c);
      });
      return soma;
    }
    for (const auto& [empresa, maquina] : maquinas) {
      FPiso.Executar(FEnviar, {empresa, maquina, empresa, maquina}, somar);
      FPiso.Executar(FFila, {empresa, maquina}, somar);
    }
    return soma;
  }

  Piso& FPiso;
  bool FRapida;
  int FStatus = -1, FEnviar = -1, FFila = -1, FAlteracoes = -1, FMaquinas = -1;
};

bool MesmasLinhas(const TabelaStatus& a, const TabelaStatus& b) {
  if (a.QtdLinhas() != b.QtdLinhas()) return false;
  for (int i = 0; i < a.QtdLinhas(); ++i) {
    const LinhaStatus& x = a.Linha(i);
    const LinhaStatus& y = b.Linha(i);
    if (x.CODEMPRESA != y.CODEMPRESA || x.MAQUINAECF != y.MAQUINAECF || x.QTDREGENVIAR != y.QTDREGENVIAR ||
        x.QTDREGFILA != y.QTDREGFILA || x.STATUSERRO != y.STATUSERRO || x.NOME != y.NOME)
      return false;
  }
  return true;
}

struct Resultado {
  double Atualizacao = 0, Piso = 0, Grade = 0, Pintura = 0, CpuAtualizacao = 0, CpuPiso = 0;
  quint64 PreparosPrimeira = 0, PreparosSeguinte = 0, Instrucoes = 0;
  int Resets = 0, Insercoes = 0, Alteracoes = 0;
};

// CPU time of the whole process, every thread: the embedded engine runs in
// this process, so this is server and client work together, and unlike the
// wall clock it does not grow when other programs take the processors.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Resultado Medir(const QString& banco, bool rapida, int repeticoes, bool comGrade, TabelaStatus& tabela) {
  Resultado r;
  ConexaoBanco conexao;
  conexao.SetParam(QStringLiteral("Database"), banco);
  conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
  conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
  AtualizacaoPainel atualizacao(conexao, tabela);
  atualizacao.SetContagemRapida(rapida);
  // The counters go with this object: the table outlives the measurement.
  QObject ouvinte;
  QObject::connect(&tabela, &QAbstractItemModel::modelReset, &ouvinte, [&] { ++r.Resets; });
  QObject::connect(&tabela, &QAbstractItemModel::rowsInserted, &ouvinte, [&] { ++r.Insercoes; });
  QObject::connect(&tabela, &QAbstractItemModel::dataChanged, &ouvinte, [&] { ++r.Alteracoes; });
  Piso piso(banco);
  RefreshPiso refreshPiso(piso, rapida);
  // Both attached before the clock starts, as the floor's statements are
  // prepared: the panel's first refresh still prepares its own.
  conexao.Abrir();

  // Panel and floor take turns, so that a change in the machine's load
  // falls on both alike.
  QElapsedTimer relogio;
  std::vector<double> tempos, pisos, cpuTempos, cpuPisos;
  const char* nome = rapida ? "rapida" : "padrao";
  for (int i = 0; i < repeticoes; ++i) {
    const quint64 preparos = conexao.Preparos();
    const quint64 execucoes = conexao.Execucoes();
    r.Resets = r.Insercoes = r.Alteracoes = 0;
    double cpu = CpuMs();
    relogio.start();
    atualizacao.Atualizar();
    tempos.push_back(relogio.nsecsElapsed() / 1e6);
    cpuTempos.push_back(CpuMs() - cpu);
    (i == 0 ? r.PreparosPrimeira : r.PreparosSeguinte) = conexao.Preparos() - preparos;
    r.Instrucoes = conexao.Execucoes() - execucoes;

    cpu = CpuMs();
    relogio.start();
    const qint64 soma = refreshPiso.Rodar();
    pisos.push_back(relogio.nsecsElapsed() / 1e6);
    cpuPisos.push_back(CpuMs() - cpu);
    std::printf("  %s %d: atualizacao %.1f ms (cpu %.1f), piso %.1f ms (cpu %.1f, soma %lld)\n", nome, i + 1,
                tempos.back(), cpuTempos.back(), pisos.back(), cpuPisos.back(), static_cast<long long>(soma));
    std::fflush(stdout);
  }
  // The signals of one refresh, the last one, before the grid adds its own.
  ouvinte.disconnect();
  QObject::disconnect(&tabela, nullptr, &ouvinte, nullptr);
  r.Atualizacao = Mediana(tempos);
  r.Piso = Mediana(pisos);
  r.CpuAtualizacao = Mediana(cpuTempos);
  r.CpuPiso = Mediana(cpuPisos);

  // The same refresh with the grid on the table, as the window has it: the
  // view hears every signal; then the rows are painted once.
  QTableView grade;
  EstiloGrid::Aplicar(&grade, &tabela);  // the panel's own columns, fonts and delegate
  grade.resize(1100, 700);
  grade.show();
  QApplication::processEvents();
  r.Grade = -1;
  if (comGrade) {
    relogio.start();
    atualizacao.Atualizar();
    QApplication::processEvents();
    r.Grade = relogio.nsecsElapsed() / 1e6;
  }
  relogio.start();
  const QPixmap imagem = grade.grab();
  r.Pintura = relogio.nsecsElapsed() / 1e6;
  (void)imagem;
  grade.setModel(nullptr);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  FusoHorario::FixarDoSistema();  // as the program does
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Opcoes opcoes;
  if (!Ler(app.arguments(), opcoes)) {
    std::fprintf(stderr, "Uso: medir-desempenho --banco=ARQUIVO [--repeticoes=N] [--maneiras=padrao,rapida] [--grade=todas|rapida]\n");
    return 2;
  }
  // A name with a host is checked by the server when attaching.
  if (!opcoes.Banco.contains(u':') && !QFile::exists(opcoes.Banco)) {
    std::fprintf(stderr, "Banco não encontrado: %s\n", qUtf8Printable(opcoes.Banco));
    return 2;
  }
  try {
    std::printf("memoria_inicio_mib=%.1f\n", MemoriaMiB("VmRSS:"));
    std::vector<std::pair<QString, Resultado>> resultados;
    std::vector<std::unique_ptr<TabelaStatus>> tabelas;
    for (const QString& maneira : opcoes.Maneiras) {
      tabelas.push_back(std::make_unique<TabelaStatus>());
      const bool rapida = maneira == QLatin1String("rapida");
      resultados.emplace_back(maneira,
                              Medir(opcoes.Banco, rapida, opcoes.Repeticoes, rapida || opcoes.GradePadrao, *tabelas.back()));
    }
    const int linhas = tabelas.front()->QtdLinhas();
    std::printf("linhas=%d\n", linhas);
    for (const auto& [maneira, r] : resultados) {
      const QByteArray m = maneira.toUtf8();
      std::printf("%s.atualizacao_ms=%.1f\n%s.piso_ms=%.1f\n%s.razao=%.3f\n", m.constData(), r.Atualizacao,
                  m.constData(), r.Piso, m.constData(), r.Piso > 0 ? r.Atualizacao / r.Piso : 0.0);
      std::printf("%s.cpu_atualizacao_ms=%.1f\n%s.cpu_piso_ms=%.1f\n%s.cpu_razao=%.3f\n", m.constData(),
                  r.CpuAtualizacao, m.constData(), r.CpuPiso, m.constData(),
                  r.CpuPiso > 0 ? r.CpuAtualizacao / r.CpuPiso : 0.0);
      // With one refresh there is no later one: -1.
      std::printf("%s.instrucoes=%llu\n%s.preparos_primeira=%llu\n%s.preparos_seguinte=%lld\n", m.constData(),
                  static_cast<unsigned long long>(r.Instrucoes), m.constData(),
                  static_cast<unsigned long long>(r.PreparosPrimeira), m.constData(),
                  opcoes.Repeticoes > 1 ? static_cast<long long>(r.PreparosSeguinte) : -1LL);
      std::printf("%s.sinais_reset=%d\n%s.sinais_insercao=%d\n%s.sinais_celula=%d\n", m.constData(), r.Resets,
                  m.constData(), r.Insercoes, m.constData(), r.Alteracoes);
      std::printf("%s.com_grade_ms=%.1f\n%s.pintura_ms=%.1f\n", m.constData(), r.Grade, m.constData(), r.Pintura);
    }
    const bool iguais = tabelas.size() < 2 || MesmasLinhas(*tabelas[0], *tabelas[1]);
    std::printf("linhas_iguais=%s\n", iguais ? "sim" : "nao");
    std::printf("memoria_pico_mib=%.1f\n", MemoriaMiB("VmHWM:"));
    QString tabela = QStringLiteral("tabela: | %1 |").arg(linhas);
    for (const auto& [maneira, r] : resultados)
      tabela += QStringLiteral(" %1 | %2 | %3 | %4 | %5 |")
                    .arg(maneira)
                    .arg(r.Atualizacao, 0, 'f', 0)
                    .arg(r.Piso, 0, 'f', 0)
                    .arg(r.Piso > 0 ? r.Atualizacao / r.Piso : 0.0, 0, 'f', 2)
                    .arg(r.CpuPiso > 0 ? r.CpuAtualizacao / r.CpuPiso : 0.0, 0, 'f', 2);
    if (resultados.size() == 2 && resultados[1].second.Atualizacao > 0)
      tabela += QStringLiteral(" %1x |").arg(resultados[0].second.Atualizacao / resultados[1].second.Atualizacao, 0,
                                              'f', 1);
    std::printf("%s\n", qUtf8Printable(tabela));
    return iguais ? 0 : 1;
  } catch (const Falha& falha) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(falha.Mensagem()));
    return 1;
  } catch (const FbException& e) {
    char texto[2048];
    fb_get_master_interface()->getUtilInterface()->formatStatus(texto, sizeof texto, e.getStatus());
    std::fprintf(stderr, "%s\n", texto);
    return 1;
  }
}
