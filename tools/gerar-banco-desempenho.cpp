// Builds a benchmark database through the embedded engine: the integration
// tables with the keys and indexes of tests/fixtures/schema.sql, twenty ERP
// tables with primary keys (the change log names them), and every table
// filled to sizes derived from two numbers, the machines N and the change
// log M:
//
//   branches              N / 10 (at least 1), codes "01", "02", ...
//   IGFMAQUINA            N machines; one in 50 with a trailing blank in its
//                         branch code; the first one 100,000 changes behind
//                         (--atrasadas), the others at most 499
//   MVINTEGGERAL          M changes over the twenty tables, 5 % deletions,
//                         4 % not for the machines (INCINTEGMAQUINA 'N')
//   REGISTROSINTEGRADOS   the last M / 200 changes per machine (--integradas)
//   INTEGMAQUINA          max(20, M / 2000) per machine, one in ten undelivered
//   FILAINTEGOFFLINE      20 + M / 20000 entries per machine, statuses 0 to 3
//   INTEGERRO             three errors for one machine in seven
//
//   gerar-banco-desempenho --banco=ARQUIVO [--esquema=tests/fixtures/schema.sql]
//                          [--maquinas=200] [--registros=200000]
//                          [--integradas=M/200] [--atrasadas=100000]
//
// The database has forced writes off (see SemEscritaForcada).
// Everything is generated inside the server from a table of numbers, one
// INSERT ... SELECT per table, each in one transaction. The last line of the
// output gives the sizes as "chave=valor" pairs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <firebird/Interface.h>

#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/CriacaoBanco.h"
#include "platform/Falha.h"

namespace {

struct Opcoes {
  QString Banco;
  QString Esquema = QStringLiteral("tests/fixtures/schema.sql");
  qint64 Maquinas = 200;
  qint64 Registros = 200000;
  qint64 Integradas = -1;  // M / 200
  qint64 Atrasadas = 100000;
};

bool Ler(const QStringList& argumentos, Opcoes& o) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    const QString valor = arg.section(u'=', 1);
    bool ok = true;
    if (arg.startsWith(QLatin1String("--banco="))) o.Banco = valor;
    else if (arg.startsWith(QLatin1String("--esquema="))) o.Esquema = valor;
    else if (arg.startsWith(QLatin1String("--maquinas="))) o.Maquinas = valor.toLongLong(&ok);
    else if (arg.startsWith(QLatin1String("--registros="))) o.Registros = valor.toLongLong(&ok);
    else if (arg.startsWith(QLatin1String("--integradas="))) o.Integradas = valor.toLongLong(&ok);
    else if (arg.startsWith(QLatin1String("--atrasadas="))) o.Atrasadas = valor.toLongLong(&ok);
    else return false;
    if (!ok) return false;
  }
  if (o.Integradas < 0) o.Integradas = o.Registros / 200;
  o.Integradas = std::min(o.Integradas, o.Registros);
  o.Atrasadas = std::min(o.Atrasadas, o.Registros);
  return !o.Banco.isEmpty() && o.Maquinas > 0 && o.Maquinas <= 9999 && o.Registros > 0 && o.Registros <= 9000000;
}

// Forced writes off, set once in the database header by its owner. Every
// statement of a refresh commits a transaction of its own; with forced
// writes each commit waits for the disk, and on a disk shared with other
// busy programs that wait is noise larger than the work measured.
void SemEscritaForcada(const QString& banco) {
  using namespace Firebird;
  IMaster* mestre = fb_get_master_interface();
  ThrowStatusWrapper st(mestre->getStatus());
  try {
    IXpbBuilder* dpb = mestre->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&st, isc_dpb_password, "masterkey");
    dpb->insertInt(&st, isc_dpb_force_write, 0);
    const QByteArray nome = banco.toLocal8Bit();
    IProvider* provedor = mestre->getDispatcher();
    IAttachment* anexo =
        provedor->attachDatabase(&st, nome.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    anexo->detach(&st);
    provedor->release();
    dpb->dispose();
  } catch (const FbException& e) {
    char texto[1024];
    mestre->getUtilInterface()->formatStatus(texto, sizeof texto, e.getStatus());
    st.dispose();
    throw Falha(QString::fromLocal8Bit(texto));
  }
  st.dispose();
}

class Gerador {
 public:
  Gerador(ConexaoBanco& conexao, const Opcoes& o) : FConexao(conexao), FO(o) {}

  void Executar(const QString& sql) {
    ConsultaSql consulta(&FConexao);
    consulta.SetSql(sql);
    try {
      consulta.Executar();
    } catch (const Falha& falha) {
      throw Falha(falha.Mensagem() + QStringLiteral("\n") + sql);
    }
  }

  qint64 Contar(const QString& tabela) {
    ConsultaSql consulta(&FConexao);
    consulta.SetSql(QStringLiteral("SELECT COUNT(*) AS TOTAL FROM ") + tabela);
    consulta.Abrir();
    return consulta.Valor(0, QStringLiteral("TOTAL")).AsInteger();
  }

  // The twenty tables of the ERP the change log speaks of, with keys of one
  // to three columns. The two pairs with and without underscores are
  // different tables that the counts and the next-records list tell apart.
  static const QList<QPair<QString, int>>& TabelasErp() {
    static const QList<QPair<QString, int>> tabelas{
        {"PRODUTO", 1},       {"CLIENTE", 1},       {"FORNECEDOR", 1},     {"PRECO", 2},
        {"ESTOQUE", 2},       {"VENDEDOR", 1},      {"CONDPAGTO", 1},      {"GRUPO", 1},
        {"SUBGRUPO", 2},      {"MARCA", 1},         {"UNIDADE", 1},        {"CODBARRAS", 2},
        {"PROMOCAO", 2},      {"TABELAPRECO", 2},   {"FUNCIONARIO", 1},    {"CONVENIO", 3},
        {"TRANSF_ESTOQUE", 2}, {"TRANSF_ESTOQUE_ITENS", 3}, {"TRANSFESTOQUE", 3}, {"MVGERAL", 1},
    };
    return tabelas;
  }

  void CriarTabelasErp() {
    for (const auto& [nome, chaves] : TabelasErp()) {
      QStringList colunas, chave;
      for (int i = 0; i < chaves; ++i) {
        colunas << QStringLiteral("CAMPO%1 VARCHAR(20) NOT NULL").arg(i);
        chave << QStringLiteral("CAMPO%1").arg(i);
      }
      // TRANSFESTOQUE carries the branch in its fourth key column.
      if (nome == QLatin1String("TRANSFESTOQUE")) {
        colunas << QStringLiteral("CAMPO3 VARCHAR(20) NOT NULL");
        chave << QStringLiteral("CAMPO3");
      }
      Executar(QStringLiteral("CREATE TABLE %1 (%2, DESCRICAO VARCHAR(40), CONSTRAINT PK_%1 PRIMARY KEY (%3))")
                   .arg(nome, colunas.join(QStringLiteral(", ")), chave.join(QStringLiteral(", "))));
    }
  }

  void Numeros(qint64 maior) {
    Executar(QStringLiteral("CREATE TABLE DIGITOS (D INTEGER NOT NULL)"));
    for (int d = 0; d < 10; ++d) Executar(QStringLiteral("INSERT INTO DIGITOS (D) VALUES (%1)").arg(d));
    QStringList termos, fontes;
    qint64 peso = 1;
    for (int d = 0; peso < maior || d == 0; ++d, peso *= 10) {
      termos << QStringLiteral("D%1.D * %2").arg(d).arg(peso);
      fontes << QStringLiteral("DIGITOS D%1").arg(d);
    }
    Executar(QStringLiteral("CREATE TABLE NUMEROS (N INTEGER NOT NULL PRIMARY KEY)"));
    Executar(QStringLiteral("INSERT INTO NUMEROS (N) SELECT CAST(%1 AS INTEGER) FROM %2 WHERE %1 < %3")
                 .arg(termos.join(QStringLiteral(" + ")), fontes.join(QStringLiteral(", ")))
                 .arg(maior));
  }

  void Preencher() {
    const qint64 n = FO.Maquinas, m = FO.Registros;
    const qint64 filiais = std::max<qint64>(1, n / 10);
    const qint64 entregas = std::max<qint64>(20, m / 2000);
    const qint64 fila = 20 + m / 20000;
    Numeros(std::max({n, m, FO.Integradas, entregas, fila, qint64(100)}));

    // Dialect 1 computes in double precision: integers are cast back before
    // they become text or keys.
    const QString codigo = QStringLiteral("RIGHT('0' || CAST(MOD(%1, %2) + 1 AS INTEGER), 2)");
    Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA, CNPJ) SELECT %1, 'Filial ' || "
                            "CAST(N + 1 AS INTEGER) || ' Comercio de Alimentos Ltda', '00.000.000/0001-00' FROM "
                            "NUMEROS WHERE N < %2")
                 .arg(codigo.arg("N").arg(filiais))
                 .arg(filiais));
    Executar(QStringLiteral(
                 "INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO, "
                 "ULTIDSERVER) SELECT IIF(MOD(N, 50) = 49, %1 || ' ', %1), 'C' || CAST(N AS INTEGER), '30', "
                 "CAST(MOD(N * 7, 40) AS INTEGER), CURRENT_TIMESTAMP - MOD(N, 3), CURRENT_TIMESTAMP, "
                 "CAST(IIF(N = 0, %2, %3 - MOD(N * 13, 500)) AS INTEGER) FROM NUMEROS WHERE N < %4")
                 .arg(codigo.arg("N").arg(filiais))
                 .arg(std::max<qint64>(0, m - FO.Atrasadas))
                 .arg(m)
                 .arg(n));

    // The change log: a table chosen from the twenty; keys from the number;
    // branch-addressed tables name a branch in CHAVE3 or CHAVE0.
    QStringList casos;
    const auto& tabelas = TabelasErp();
    for (int i = 0; i < tabelas.size(); ++i) casos << QStringLiteral("WHEN %1 THEN '%2'").arg(i).arg(tabelas[i].first);
    const QString tabela = QStringLiteral("CASE MOD(N * 7 + MOD(N, 3), 20) %1 END").arg(casos.join(u' '));
    const QString filial = codigo.arg("N").arg(filiais);
    Executar(QStringLiteral(
                 "INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, CHAVE1, CHAVE2, CHAVE3, INCINTEGMAQUINA, "
                 "DATAHORA) SELECT ORDEM, ACAO, TABELA, IIF(TABELA = 'MVGERAL', %1, CHAVE), CHAVE, '1', "
                 "IIF(TABELA = 'TRANSFESTOQUE', %1, NULL), INC, DATAHORA FROM (SELECT CAST(N + 1 AS INTEGER) AS ORDEM, "
                 "CASE WHEN MOD(N, 19) = 5 THEN 'E' WHEN MOD(N, 4) = 0 THEN 'I' ELSE 'A' END AS ACAO, %2 AS TABELA, "
                 "CAST(MOD(N * 31, 50000) AS INTEGER) || '' AS CHAVE, IIF(MOD(N, 23) = 7, 'N', 'S') AS INC, "
                 "CURRENT_TIMESTAMP AS DATAHORA, N FROM NUMEROS WHERE N < %3) AS G")
                 .arg(filial, tabela)
                 .arg(m));

    Executar(QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) SELECT M.MAQUINA, "
                            "M.MAQUINAECF, CAST(%1 - N.N AS INTEGER) FROM IGFMAQUINA M, NUMEROS N WHERE N.N < %2")
                 .arg(m)
                 .arg(FO.Integradas));
    Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) SELECT M.MAQUINA, "
                            "M.MAQUINAECF, CAST(%1 - N.N AS INTEGER), IIF(MOD(N.N, 10) = 0, 'N', 'S') FROM "
                            "IGFMAQUINA M, NUMEROS N WHERE N.N < %2")
                 .arg(m)
                 .arg(entregas));
    Executar(QStringLiteral(
                 "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, "
                 "DATA_INCLUSAO, DATA_EXECUCAO) SELECT CAST(CAST(SUBSTRING(M.MAQUINAECF FROM 2) AS INTEGER) * %1 + "
                 "N.N AS INTEGER), CAST(N.N + 1 AS INTEGER), TRIM(M.MAQUINA), M.MAQUINAECF, "
                 "CASE MOD(N.N, 4) WHEN 0 THEN 'I' WHEN 1 THEN 'A' WHEN 2 THEN 'E' ELSE 'P' END, "
                 "CAST(CASE WHEN MOD(N.N, 17) = 0 THEN 3 WHEN MOD(N.N, 5) = 0 THEN 0 ELSE 1 + MOD(N.N, 2) END AS "
                 "INTEGER), 'PRODUTO', 'UPDATE PRODUTO SET DESCRICAO = ''Item ' || CAST(N.N AS INTEGER) || ''' "
                 "WHERE CAMPO0 = ''' || CAST(N.N AS INTEGER) || ''';', CURRENT_TIMESTAMP - N.N / 1440.0, "
                 "CURRENT_TIMESTAMP FROM IGFMAQUINA M, NUMEROS N WHERE N.N < %1")
                 .arg(fila));
    Executar(QStringLiteral(
        "INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) SELECT "
        "TRIM(M.MAQUINA), M.MAQUINAECF, CAST(N.N + 1 AS INTEGER), CURRENT_TIMESTAMP - N.N, 'violation of PRIMARY "
        "or UNIQUE KEY constraint on table PRODUTO', IIF(N.N = 0, 'N', 'S') FROM IGFMAQUINA M, NUMEROS N WHERE "
        "N.N < 3 AND MOD(CAST(SUBSTRING(M.MAQUINAECF FROM 2) AS INTEGER), 7) = 0"));
    Executar(QStringLiteral("INSERT INTO PARADIV (ID_DESCRICAO, CAMPOINTEGER) VALUES ('TEMPOATUALIZACAOPAINEL', 15)"));
    Executar(QStringLiteral("INSERT INTO PARAWEB (UTILIZAINTEGWEBSERVICE) VALUES ('S')"));
    Executar(QStringLiteral("DROP TABLE NUMEROS"));
    Executar(QStringLiteral("DROP TABLE DIGITOS"));
  }

 private:
  ConexaoBanco& FConexao;
  const Opcoes& FO;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Opcoes opcoes;
  if (!Ler(app.arguments(), opcoes)) {
    std::fprintf(stderr,
                 "Uso: gerar-banco-desempenho --banco=ARQUIVO [--esquema=ARQUIVO] [--maquinas=N (1 a 9999)] "
                 "[--registros=M] [--integradas=K] [--atrasadas=A]\n");
    return 2;
  }
  QFile esquema(opcoes.Esquema);
  if (!esquema.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "Esquema não encontrado: %s\n", qUtf8Printable(opcoes.Esquema));
    return 2;
  }
  if (QFile::exists(opcoes.Banco)) {
    std::fprintf(stderr, "O banco já existe: %s\n", qUtf8Printable(opcoes.Banco));
    return 2;
  }
  try {
    QElapsedTimer relogio;
    relogio.start();
    CriacaoBanco::CriarBanco(opcoes.Banco);
    SemEscritaForcada(opcoes.Banco);
    ConexaoBanco conexao;
    conexao.SetParam(QStringLiteral("Database"), opcoes.Banco);
    conexao.SetParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexao.SetParam(QStringLiteral("Password"), QStringLiteral("masterkey"));
    CriacaoBanco::ExecutarScript(conexao, QString::fromUtf8(esquema.readAll()));
    Gerador gerador(conexao, opcoes);
    gerador.CriarTabelasErp();
    gerador.Preencher();
    QStringList tamanhos;
    for (const char* tabela : {"FILIAIS", "IGFMAQUINA", "MVINTEGGERAL", "REGISTROSINTEGRADOS", "INTEGMAQUINA",
                               "FILAINTEGOFFLINE", "INTEGERRO"})
      tamanhos << QStringLiteral("%1=%2").arg(QLatin1String(tabela)).arg(gerador.Contar(QLatin1String(tabela)));
    conexao.Fechar();
    std::printf("gerado: %s segundos=%.1f\n", qUtf8Printable(tamanhos.join(u' ')), relogio.elapsed() / 1000.0);
  } catch (const Falha& falha) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(falha.Mensagem()));
    QFile::remove(opcoes.Banco);
    return 1;
  }
  return 0;
}
