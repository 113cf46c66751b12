// Measures the memory the history of the status rows takes: fills the given
// number of machines (1,000 by default) with a full window of samples, one
// refresh a minute for 24 hours, and reports the heap growth (mallinfo2) and
// the growth of the resident set, in bytes and per machine. Also times the
// page's JSON over those machines, the work of one /painel.json request.
//
//   medir-historico [--maquinas=1000]
//
// Output: "chave=valor" lines.

#include <malloc.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "panel/FormatoDataHora.h"
#include "panel/HistoricoStatus.h"
#include "panel/SaidaPagina.h"

namespace {

qint64 Heap() { return static_cast<qint64>(mallinfo2().uordblks); }

qint64 ResidenteKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& linha : status.readAll().split('\n'))
    if (linha.startsWith("VmRSS:")) return linha.mid(6).trimmed().split(' ').value(0).toLongLong();
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int maquinas = 1000;
  for (const QString& argumento : app.arguments().mid(1)) {
    if (argumento.startsWith(QLatin1String("--maquinas="))) maquinas = argumento.mid(11).toInt();
    else {
      std::fprintf(stderr, "uso: medir-historico [--maquinas=N]\n");
      return 2;
    }
  }
  if (maquinas < 1) return 2;
  FormatoDataHora::DefinirFormatoHora(QStringLiteral("HH:mm:ss"));

  std::vector<LinhaStatus> linhas(static_cast<std::size_t>(maquinas));
  for (int i = 0; i < maquinas; ++i) {
    LinhaStatus& linha = linhas[static_cast<std::size_t>(i)];
    linha.SetTexto(CampoStatus::CODEMPRESA, QStringLiteral("%1").arg(i / 100, 2, 10, QLatin1Char('0')));
    linha.SetTexto(CampoStatus::NOME, linha.CODEMPRESA + QStringLiteral(" - Filial"));
    linha.SetTexto(CampoStatus::MAQUINAECF, QStringLiteral("C%1").arg(i % 100));
    linha.SetTexto(CampoStatus::STATUSERRO, QStringLiteral("Não"));
  }
  const QDateTime inicio(QDate(2026, 3, 2), QTime(0, 0));

  const qint64 heapAntes = Heap();
  const qint64 rssAntes = ResidenteKiB();
  HistoricoStatus historico;
  QElapsedTimer relogio;
  relogio.start();
  QDateTime agora;
  for (int minuto = 0; minuto < HistoricoMaquina::kPontos; ++minuto) {
    agora = inicio.addSecs(qint64(minuto) * HistoricoMaquina::kSegundosPorPonto);
    for (LinhaStatus& linha : linhas) {
      linha.QTDREGRECEB = (minuto * 7) % 500;
      linha.QTDREGENVIAR = (minuto * 3) % 200;
      linha.QTDREGFILA = minuto % 20;
      linha.ULTRECEB = linha.ULTENVIO = agora;
    }
    historico.Registrar(linhas, agora);
  }
  const qint64 msRegistro = relogio.elapsed();
  const qint64 heap = Heap() - heapAntes;
  const qint64 rss = (ResidenteKiB() - rssAntes) * 1024;

  SaidaPagina::Estado estado;
  estado.Linhas = linhas;
  estado.LidasEm = agora;
  relogio.restart();
  const QByteArray json = SaidaPagina::Painel(estado, historico, agora);
  const qint64 msPagina = relogio.elapsed();

  std::printf("maquinas=%d\npontos_por_maquina=%d\nbytes_por_ponto=%zu\n", historico.QtdMaquinas(),
              HistoricoMaquina::kPontos, sizeof(PontoHistorico));
  std::printf("heap_bytes=%lld\nheap_por_maquina_bytes=%lld\nheap_mib=%.1f\n", static_cast<long long>(heap),
              static_cast<long long>(heap / maquinas), heap / 1048576.0);
  std::printf("residente_bytes=%lld\nresidente_mib=%.1f\n", static_cast<long long>(rss), rss / 1048576.0);
  std::printf("registro_janela_ms=%lld\npainel_json_ms=%lld\npainel_json_bytes=%lld\n",
              static_cast<long long>(msRegistro), static_cast<long long>(msPagina),
              static_cast<long long>(json.size()));
  return 0;
}
