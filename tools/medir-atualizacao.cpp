// Times one refresh of the status rows on the embedded engine, over a
// database generated to a given size: by default 200 machines of 10
// branches and a change log of 100,000 rows.
//
//   medir-atualizacao [--esquema=tests/fixtures/schema.sql] [--maquinas=200]
//                     [--registros=100000] [--integrados=1000] [--repeticoes=5]
//
// The database is created in a temporary folder and removed at the end.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/CriacaoBanco.h"
#include "platform/Falha.h"

namespace {

struct Opcoes {
  QString Esquema = QStringLiteral("tests/fixtures/schema.sql");
  int Maquinas = 200;
  int Registros = 100000;
  int Integrados = 1000;
  int Repeticoes = 5;
};

bool Ler(const QStringList& argumentos, Opcoes& opcoes) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString arg = argumentos[i];
    const QString valor = arg.section(u'=', 1);
    bool ok = true;
    if (arg.startsWith(QLatin1String("--esquema="))) opcoes.Esquema = valor;
    else if (arg.startsWith(QLatin1String("--maquinas="))) opcoes.Maquinas = valor.toInt(&ok);
    else if (arg.startsWith(QLatin1String("--registros="))) opcoes.Registros = valor.toInt(&ok);
    else if (arg.startsWith(QLatin1String("--integrados="))) opcoes.Integrados = valor.toInt(&ok);
    else if (arg.startsWith(QLatin1String("--repeticoes="))) opcoes.Repeticoes = valor.toInt(&ok);
    else return false;
    if (!ok) return false;
  }
  return opcoes.Maquinas > 0 && opcoes.Registros >= 0 && opcoes.Integrados >= 0 && opcoes.Repeticoes > 0;
}

void Executar(ConexaoBanco& conexao, const QString& sql) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(sql);
  try {
    consulta.Executar();
  } catch (const Falha& falha) {
    throw Falha(falha.Mensagem() + QStringLiteral("\n") + sql);
  }
}

// Generated inside the server from a table of numbers (the cross product of
// ten digits), one statement per table.
void Preencher(ConexaoBanco& conexao, const Opcoes& o) {
  Executar(conexao, QStringLiteral("CREATE TABLE DIGITOS (D INTEGER)"));
  for (int d = 0; d < 10; ++d) Executar(conexao, QStringLiteral("INSERT INTO DIGITOS (D) VALUES (%1)").arg(d));
  // As many digits as the largest count needs, filled once into a table.
  const int maior = std::max({o.Maquinas, o.Registros, o.Integrados, 50});
  QStringList termos, fontes;
  for (int d = 0, peso = 1; peso < maior || d == 0; ++d, peso *= 10) {
    termos << QStringLiteral("D%1.D * %2").arg(d).arg(peso);
    fontes << QStringLiteral("DIGITOS D%1").arg(d);
  }
  Executar(conexao, QStringLiteral("CREATE TABLE NUMEROS (N INTEGER NOT NULL PRIMARY KEY)"));
  Executar(conexao, QStringLiteral("INSERT INTO NUMEROS (N) SELECT CAST(%1 AS INTEGER) FROM %2")
                        .arg(termos.join(QStringLiteral(" + ")), fontes.join(QStringLiteral(", "))));
  // Dialect 1 does its arithmetic in double precision: integers are cast back
  // before they become text.
  const QString filial = QStringLiteral("RIGHT('0' || CAST(MOD(%1, 10) + 1 AS INTEGER), 2)");
  Executar(conexao, QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) SELECT %1, 'Filial ' || N "
                                   "FROM NUMEROS WHERE N < 10").arg(filial.arg("N")));
  Executar(conexao, QStringLiteral(
      "INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO, ULTIDSERVER) "
      "SELECT %1, 'M' || N, '30', MOD(N, 17), CURRENT_TIMESTAMP, CURRENT_TIMESTAMP, %2 FROM NUMEROS WHERE N < %3")
      .arg(filial.arg("N")).arg(o.Integrados).arg(o.Maquinas));
  Executar(conexao, QStringLiteral(
      "INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, CHAVE3, INCINTEGMAQUINA, DATAHORA) "
      "SELECT N + 1, CASE MOD(N, 3) WHEN 0 THEN 'I' WHEN 1 THEN 'A' ELSE 'E' END, "
      "CASE MOD(N, 5) WHEN 0 THEN 'PRODUTO' WHEN 1 THEN 'CLIENTE' WHEN 2 THEN 'TRANSF_ESTOQUE' "
      "WHEN 3 THEN 'MVGERAL' ELSE 'TRANSFESTOQUE' END, %1, %1, IIF(MOD(N, 10) = 9, 'N', 'S'), CURRENT_TIMESTAMP "
      "FROM NUMEROS WHERE N < %2").arg(filial.arg("N")).arg(o.Registros));
  // Every machine has integrated the first changes of the log, has a
  // delivery list with some not yet delivered, a queue and, one in seven,
  // an open error.
  Executar(conexao, QStringLiteral(
      "INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) SELECT M.MAQUINA, M.MAQUINAECF, N.N + 1 "
      "FROM IGFMAQUINA M, NUMEROS N WHERE N.N < %1").arg(o.Integrados));
  Executar(conexao, QStringLiteral(
      "INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) "
      "SELECT M.MAQUINA, M.MAQUINAECF, N.N + 1, IIF(N.N < 40, 'S', 'N') FROM IGFMAQUINA M, NUMEROS N WHERE N.N < 50"));
  Executar(conexao, QStringLiteral(
      "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, DATA_INCLUSAO) "
      "SELECT N.N, N.N, M.MAQUINA, M.MAQUINAECF, 'I', MOD(N.N, 4), 'PRODUTO', CURRENT_TIMESTAMP "
      "FROM IGFMAQUINA M, NUMEROS N WHERE N.N < 20"));
  Executar(conexao, QStringLiteral(
      "INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, CONFERIDO) "
      "SELECT MAQUINA, MAQUINAECF, 1, CURRENT_TIMESTAMP, 'N' FROM IGFMAQUINA WHERE MOD(ULTIDSERVER + QTDREGRECEB, 7) = 0"));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Opcoes opcoes;
  if (!Ler(app.arguments(), opcoes)) {
    std::fprintf(stderr,
                 "Uso: medir-atualizacao [--esquema=ARQUIVO] [--maquinas=N] [--registros=N] [--integrados=N] "
                 "[--repeticoes=N]\n");
    return 2;
  }
  QFile esquema(opcoes.Esquema);
  if (!esquema.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "Esquema não encontrado: %s\n", qUtf8Printable(opcoes.Esquema));
    return 2;
  }
  try {
    QTemporaryDir pasta(QDir::tempPath() + QStringLiteral("/painel-medida-XXXXXX"));
    const QString caminho = pasta.filePath(QStringLiteral("medida.fdb"));
    CriacaoBanco::CriarBanco(caminho);
    ConexaoBanco conexao;
    conexao.SetParam(QStringLiteral("Database"), caminho);
    conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
    CriacaoBanco::ExecutarScript(conexao, QString::fromUtf8(esquema.readAll()));

    QElapsedTimer relogio;
    relogio.start();
    Preencher(conexao, opcoes);
    std::printf("banco: %d máquinas, %d alterações, %d integradas por máquina; gerado em %.1f s\n", opcoes.Maquinas,
                opcoes.Registros, opcoes.Integrados, relogio.elapsed() / 1000.0);
    // The refresh runs on a connection of its own, as the panel's would.
    conexao.Fechar();

    ConexaoBanco painel;
    painel.SetParam(QStringLiteral("Database"), caminho);
    painel.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    painel.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
    TabelaStatus tabela;
    AtualizacaoPainel atualizacao(painel, tabela);
    QList<double> tempos;
    for (int i = 0; i <= opcoes.Repeticoes; ++i) {
      const quint64 execucoes = painel.Execucoes();
      relogio.restart();
      atualizacao.Atualizar();
      const double ms = relogio.nsecsElapsed() / 1e6;
      std::printf("%s: %.0f ms, %d linhas, %llu instruções\n", i == 0 ? "primeira (conecta e prepara)" : "atualização",
                  ms, tabela.QtdLinhas(), static_cast<unsigned long long>(painel.Execucoes() - execucoes));
      if (i > 0) tempos << ms;
    }
    std::sort(tempos.begin(), tempos.end());
    std::printf("mediana: %.0f ms (mínimo %.0f, máximo %.0f) por atualização de %d máquinas\n",
                tempos[tempos.size() / 2], tempos.first(), tempos.last(), tabela.QtdLinhas());
  } catch (const Falha& falha) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(falha.Mensagem()));
    return 1;
  }
  return 0;
}
