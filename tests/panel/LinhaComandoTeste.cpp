#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "BancoTeste.h"
#include "Credencial.h"
#include "SaidaStatusLeitura.h"
#include "app/LinhaComando.h"
#include "app/ui/TFPainel.h"
#include "panel/TabelaStatus.h"

namespace {

using SaidaStatusLeitura::LerCsv;
using SaidaStatusLeitura::LerPrometheus;

TEST(LinhaComando, OpcoesEErrosDeUso) {
  auto modo = [](QStringList args) { return LinhaComando(QStringList{"painel-integracao"} + args).ModoPedido(); };
  using M = LinhaComando::Modo;
  EXPECT_EQ(modo({}), M::Janela);
  EXPECT_EQ(modo({"--ini=/x/Caminho.ini"}), M::Janela);
  EXPECT_EQ(modo({"--status"}), M::Status);
  EXPECT_EQ(modo({"--check"}), M::Verificacao);
  EXPECT_EQ(modo({"--status", "--help"}), M::Ajuda);
  EXPECT_EQ(modo({"--version"}), M::Versao);

  LinhaComando status(QStringList{"p", "--format", "prometheus", "--status", "--ini", "/y.ini"});
  EXPECT_EQ(status.ModoPedido(), M::Status);
  EXPECT_EQ(status.Formato(), SaidaStatus::Formato::Prometheus);
  EXPECT_EQ(status.ArquivoIni(), QStringLiteral("/y.ini"));
  EXPECT_EQ(LinhaComando(QStringList{"p", "--status"}).Formato(), SaidaStatus::Formato::Tabela);
  LinhaComando verificacao(QStringList{"p", "--check", "--max-age=0"});
  EXPECT_EQ(verificacao.IdadeMaxima(), 0);
  EXPECT_EQ(LinhaComando(QStringList{"p", "--check"}).IdadeMaxima(), 60);
  EXPECT_EQ(LinhaComando(QStringList{"p", "--check", "--max-age", "15"}).IdadeMaxima(), 15);

  LinhaComando servico(QStringList{"p", "--serve"});
  EXPECT_EQ(servico.ModoPedido(), M::Servico);
  EXPECT_EQ(servico.EnderecoServico(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(servico.PortaServico(), 7431);
  EXPECT_EQ(servico.IntervaloServico(), 0);
  LinhaComando nomeado(QStringList{"p", "--interval", "3600", "--serve=0.0.0.0:8080"});
  EXPECT_EQ(nomeado.EnderecoServico(), QStringLiteral("0.0.0.0"));
  EXPECT_EQ(nomeado.PortaServico(), 8080);
  EXPECT_EQ(nomeado.IntervaloServico(), 3600);
  // The page of the service marks late rows by the same age as --check.
  EXPECT_EQ(LinhaComando(QStringList{"p", "--serve", "--max-age=30"}).IdadeMaxima(), 30);
  LinhaComando ipv6(QStringList{"p", "--serve=[::1]:9000", "--interval=1"});
  EXPECT_EQ(ipv6.EnderecoServico(), QStringLiteral("::1"));
  EXPECT_EQ(ipv6.PortaServico(), 9000);

  // Without a window a wrong option is an error; the window reports it and
  // opens anyway.
  const QList<QStringList> erradas = {
      {"--serve=1.2.3.4"}, {"--serve=:80"}, {"--serve=::1:80"}, {"--serve=h:65536"}, {"--serve=h:+80"},
      {"--serve", "--interval=0"}, {"--serve", "--interval=3601"}, {"--serve", "--interval=1.5"},
      {"--interval=5", "--status"}, {"--serve", "--status"}, {"--check", "--serve"}, {"--serve", "--format=json"},
      {"--status", "--check"}, {"--format=xml", "--status"}, {"--status", "--format"}, {"--check", "--max-age=-1"},
      {"--check", "--max-age=dez"}, {"--max-age=5", "--status"}, {"--status", "--ini="}, {"--serve", "--ini"},
      {"--check", "--verbose"}};
  for (const QStringList& args : erradas) {
    LinhaComando linha(QStringList{"p"} + args);
    EXPECT_EQ(linha.ModoPedido(), M::ErroUso) << args.join(u' ').toStdString();
    EXPECT_FALSE(linha.Erro().isEmpty());
  }
  LinhaComando semValor(QStringList{"p", "--status", "--ini", "--fast-counts"});
  EXPECT_EQ(semValor.Erro(), QStringLiteral("--ini precisa de um arquivo."));
  EXPECT_TRUE(semValor.ContagemRapida());
  LinhaComando janela(QStringList{"p", "--verbose", "--format=csv", "--ini"});
  EXPECT_EQ(janela.ModoPedido(), M::Janela);
  EXPECT_EQ(janela.Avisos(), (QStringList{QStringLiteral("Opção desconhecida: --verbose"),
                                          QStringLiteral("--ini precisa de um arquivo."),
                                          QStringLiteral("--format só vale com --status.")}));
}

// The executable run as a process against a fixture database. The embedded
// engine lets one process at a time open the file, so the fixture lets go of
// it first.
class LinhaComandoProcesso : public ::testing::Test {
 protected:
  void SetUp() override {
    ini = banco.Pasta() + QStringLiteral("/Caminho.ini");
    EscreverIni(banco.Caminho());
  }

  void EscreverIni(const QString& caminho) {
    QFile arquivo(ini);
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    arquivo.write("[DATABASEESTOQUE]\r\nCAMINHO=" + caminho.toUtf8() + "\r\nUSUARIO=" +
                  CodificarCredencial("SYSDBA").toUtf8() + "\r\nSENHA=" + CodificarCredencial("masterkey").toUtf8() +
                  "\r\n");
  }

  struct Resultado {
    int Codigo = -1;
    QByteArray Saida;
    QByteArray Erro;
  };

  Resultado Rodar(const QStringList& argumentos, const QString& arquivoSaida = QString(),
                  QString programa = QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao")) {
    banco.Soltar();
    EXPECT_TRUE(QFileInfo::exists(programa)) << "build painel-integracao first";
    QProcess processo;
    // A runtime folder of its own keeps Qt's start-up notice about a missing
    // one out of the standard error the tests read.
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), execucao.path());
    processo.setProcessEnvironment(ambiente);
    if (!arquivoSaida.isEmpty()) processo.setStandardOutputFile(arquivoSaida);
    processo.start(programa, argumentos);
    Resultado r;
    if (!processo.waitForFinished(60000)) return r;
    r.Codigo = processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -2;
    r.Saida = processo.readAllStandardOutput();
    r.Erro = processo.readAllStandardError();
    return r;
  }

  Resultado Status(const QString& formato) {
    return Rodar({QStringLiteral("--status"), QStringLiteral("--format=") + formato, QStringLiteral("--ini=") + ini});
  }

  BancoTeste banco;
  QTemporaryDir execucao;
  QString ini;
};

TEST_F(LinhaComandoProcesso, CadaFormatoLidoDeVoltaEIgualAJanela) {
  banco.Executar(QStringLiteral(R"(
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'O "Bar"; d''Ajuda, €ŠŒ');
INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('02', NULL);
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO) VALUES ('01', 'CX01', '30', 4, '2024-03-04 10:11:12', '1850-01-02 00:00:00');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB, ULTRECEB, ULTENVIO) VALUES ('01', 'CAIXA;"7', NULL, -3, NULL, '2150-06-07 08:09:10');
INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('02', 'Z');
INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (1, 'I', 'PRODUTO', 'S');
INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (1, '01', 'CX01', 3);
INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) VALUES ('01', 'CX01', 1, 'N');
)"));
  const Resultado json = Status(QStringLiteral("json"));
  ASSERT_EQ(json.Codigo, 0) << json.Erro.toStdString();
  QJsonParseError erro;
  const QJsonArray linhas = QJsonDocument::fromJson(json.Saida, &erro).array();
  ASSERT_EQ(erro.error, QJsonParseError::NoError) << json.Saida.toStdString();
  ASSERT_EQ(linhas.size(), 3);
  // Rows in the grid's order: CAIXA;"7, CX01, Z.
  const QJsonObject caixa = linhas[0].toObject();
  EXPECT_EQ(caixa["MAQUINAECF"].toString(), QStringLiteral("CAIX"));
  EXPECT_EQ(caixa["NOME"].toString(), QStringLiteral("01 - O \"Bar\"; d'Ajuda, €ŠŒ"));
  EXPECT_EQ(caixa["QTDREGRECEB"].toInt(), -3);
  EXPECT_TRUE(caixa["ULTRECEB"].isNull());
  EXPECT_EQ(caixa["ULTENVIO"].toString(), QStringLiteral("2150-06-07T08:09:10"));
  EXPECT_EQ(caixa["QTDREGENVIAR"].toInt(), 1);
  const QJsonObject cx01 = linhas[1].toObject();
  EXPECT_EQ(cx01["STATUSERRO"].toString(), QStringLiteral("Sim"));
  EXPECT_EQ(cx01["QTDREGFILA"].toInt(), 1);
  EXPECT_EQ(cx01["ULTRECEB"].toString(), QStringLiteral("2024-03-04T10:11:12"));
  EXPECT_EQ(cx01["ULTENVIO"].toString(), QStringLiteral("1850-01-02T00:00:00"));
  EXPECT_EQ(linhas[2].toObject()["NOME"].toString(), QString());

  const Resultado csv = Status(QStringLiteral("csv"));
  ASSERT_EQ(csv.Codigo, 0);
  const QList<QStringList> registros = LerCsv(csv.Saida);
  ASSERT_EQ(registros.size(), 4) << csv.Saida.toStdString();
  EXPECT_EQ(registros[1], (QStringList{"01", "01 - O \"Bar\"; d'Ajuda, €ŠŒ", "CAIX", "", "-3", "",
                                       "2150-06-07T08:09:10", "1", "Não", "0"}));

  const Resultado prometheus = Status(QStringLiteral("prometheus"));
  ASSERT_EQ(prometheus.Codigo, 0);
  const auto amostras = LerPrometheus(prometheus.Saida);
  ASSERT_FALSE(amostras.isEmpty()) << prometheus.Saida.toStdString();
  EXPECT_EQ(amostras.value("painel_integracao_erros_nao_conferidos{filial=\"01\",maquina=\"CX01\"}"), 1);
  EXPECT_EQ(amostras.value("painel_integracao_registros_na_fila{filial=\"01\",maquina=\"CX01\"}"), 1);
  EXPECT_EQ(amostras.value("painel_integracao_registros_a_receber{filial=\"01\",maquina=\"CAIX\"}"), -3);
  EXPECT_EQ(amostras.value("painel_integracao_maquinas"), 3);

  const Resultado tabela = Rodar({QStringLiteral("--status"), QStringLiteral("--ini=") + ini});
  ASSERT_EQ(tabela.Codigo, 0);
  const QStringList texto = QString::fromUtf8(tabela.Saida).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(texto.size(), 5);
  EXPECT_TRUE(texto[0].startsWith(QStringLiteral("Filial"))) << texto[0].toStdString();
  EXPECT_TRUE(texto[3].contains(QStringLiteral("04/03/2024 10:11:12"))) << texto[3].toStdString();
  EXPECT_TRUE(texto[3].contains(QStringLiteral("02/01/1850  "))) << "midnight shows the date alone";

  // The window shows the same rows over the same database.
  TFPainel painel(QStringLiteral("/nao/existe/Caminho.ini"));
  banco.Configurar(painel.cnVelmora());
  painel.btAtualizarClick();
  const TabelaStatus* cds = painel.Filiais();
  ASSERT_EQ(cds->QtdLinhas(), 3);
  for (int i = 0; i < 3; ++i) {
    const QStringList daJanela = LerCsv(SaidaStatus::Csv({cds->Linha(i)})).value(1);
    EXPECT_EQ(daJanela, registros[i + 1]) << i;
  }
}

TEST_F(LinhaComandoProcesso, VerificacaoCodigosDoPlugin) {
  // No machine joined to a branch is no verdict.
  Resultado vazio = Rodar({QStringLiteral("--check"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(vazio.Codigo, 3) << vazio.Saida.toStdString();
  EXPECT_TRUE(vazio.Saida.startsWith("PAINEL-INTEGRACAO UNKNOWN - nenhuma máquina ligada a uma filial"))
      << vazio.Saida.toStdString();

  banco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Loja')"));
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTRECEB, ULTENVIO) "
                                "VALUES ('01', 'CX01', CURRENT_TIMESTAMP, CURRENT_TIMESTAMP)"));
  Resultado ok = Rodar({QStringLiteral("--check"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(ok.Codigo, 0) << ok.Saida.toStdString() << ok.Erro.toStdString();
  EXPECT_TRUE(ok.Saida.startsWith("PAINEL-INTEGRACAO OK - 1 m")) << ok.Saida.toStdString();
  EXPECT_TRUE(ok.Saida.endsWith("| maquinas=1 com_erro=0 atrasadas=0 a_receber=0 a_enviar=0 na_fila=0\n"));

  banco.Executar(QStringLiteral("UPDATE IGFMAQUINA SET ULTENVIO = '2020-01-01 00:00:00'"));
  Resultado alerta = Rodar({QStringLiteral("--check"), QStringLiteral("--max-age=600"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(alerta.Codigo, 1) << alerta.Saida.toStdString();
  EXPECT_TRUE(alerta.Saida.contains("WARNING")) << alerta.Saida.toStdString();
  EXPECT_TRUE(alerta.Saida.contains("01/CX01"));

  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, CONFERIDO) "
                                "VALUES ('01', 'CX01', 1, 'N')"));
  Resultado critico = Rodar({QStringLiteral("--check"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(critico.Codigo, 2) << critico.Saida.toStdString();
  EXPECT_TRUE(critico.Saida.startsWith("PAINEL-INTEGRACAO CRITICAL - 1 m")) << critico.Saida.toStdString();

  // A database that cannot be read: UNKNOWN, with the window's message on
  // standard error; --status fails with 1 and the same message.
  EscreverIni(banco.Pasta() + QStringLiteral("/nao-existe.fdb"));
  Resultado desconhecido = Rodar({QStringLiteral("--check"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(desconhecido.Codigo, 3);
  EXPECT_TRUE(desconhecido.Saida.startsWith("PAINEL-INTEGRACAO UNKNOWN - Falha ao conectar banco de dados "))
      << desconhecido.Saida.toStdString();
  const QString esperado = QStringLiteral("Falha ao conectar banco de dados %1. Motivo: ")
                               .arg(banco.Pasta() + QStringLiteral("/nao-existe.fdb"));
  EXPECT_TRUE(QString::fromUtf8(desconhecido.Erro).startsWith(esperado)) << desconhecido.Erro.toStdString();
  Resultado statusFalhou = Rodar({QStringLiteral("--status"), QStringLiteral("--ini=") + ini});
  EXPECT_EQ(statusFalhou.Codigo, 1);
  EXPECT_TRUE(statusFalhou.Saida.isEmpty());
  EXPECT_TRUE(QString::fromUtf8(statusFalhou.Erro).endsWith(QStringLiteral("Entre em contato com o suporte técnico.\n")));

  // A file named with --ini that is missing or cannot be read is named in
  // the message; the one beside the executable reads as empty.
  Resultado semArquivo = Rodar({QStringLiteral("--status"), QStringLiteral("--ini=/nao/existe/Caminho.ini")});
  EXPECT_EQ(semArquivo.Codigo, 1);
  EXPECT_EQ(QString::fromUtf8(semArquivo.Erro),
            QStringLiteral("Arquivo de configuração não encontrado: /nao/existe/Caminho.ini\n"));
  Resultado pasta = Rodar({QStringLiteral("--check"), QStringLiteral("--ini"), banco.Pasta()});
  EXPECT_EQ(pasta.Codigo, 3);
  EXPECT_EQ(QString::fromUtf8(pasta.Saida),
            QStringLiteral("PAINEL-INTEGRACAO UNKNOWN - Arquivo de configuração não pode ser lido: %1\n").arg(banco.Pasta()));
  Resultado semConfiguracao = Rodar({QStringLiteral("--status")});
  EXPECT_EQ(semConfiguracao.Codigo, 1);
  EXPECT_EQ(QString::fromUtf8(semConfiguracao.Erro),
            QStringLiteral("Caminho do banco de dados não configurado no \"Caminho.Ini\".\r\n"
                           "Entre em contato com o suporte técnico.\n"));
}

TEST_F(LinhaComandoProcesso, AjudaVersaoEErroDeUso) {
  Resultado ajuda = Rodar({QStringLiteral("--help")});
  EXPECT_EQ(ajuda.Codigo, 0);
  EXPECT_TRUE(ajuda.Saida.startsWith("Uso: painel-integracao"));
  EXPECT_TRUE(ajuda.Saida.contains("--check"));
  Resultado versao = Rodar({QStringLiteral("--version")});
  EXPECT_EQ(versao.Codigo, 0);
  EXPECT_EQ(versao.Saida, "painel-integracao v.29.07ad0\n");
  Resultado uso = Rodar({QStringLiteral("--status"), QStringLiteral("--format=xml")});
  EXPECT_EQ(uso.Codigo, 2);
  EXPECT_TRUE(uso.Saida.isEmpty());
  EXPECT_TRUE(uso.Erro.startsWith("Formato desconhecido: 'xml'")) << uso.Erro.toStdString();
  EXPECT_TRUE(uso.Erro.contains("Uso: painel-integracao"));

  // --check answers a monitoring system: UNKNOWN and one line, nothing else.
  for (const QStringList& args : QList<QStringList>{{"--max-age=1h"}, {"--max-age"}, {"--verbose"}}) {
    Resultado verificacao = Rodar(QStringList{QStringLiteral("--check")} + args);
    EXPECT_EQ(verificacao.Codigo, 3) << args.join(u' ').toStdString();
    EXPECT_TRUE(verificacao.Saida.startsWith("PAINEL-INTEGRACAO UNKNOWN - ")) << verificacao.Saida.toStdString();
    EXPECT_EQ(verificacao.Saida.indexOf('\n'), verificacao.Saida.size() - 1) << "one line";
    EXPECT_TRUE(verificacao.Erro.isEmpty()) << verificacao.Erro.toStdString();
  }
}

// Rows that cannot be written are a failure, not a success with nothing said:
// a full disk, and a reader that went away (SIGPIPE must not end the program
// silently).
TEST_F(LinhaComandoProcesso, StatusQueNaoPodeSerEscritoFalha) {
  banco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Loja')"));
  banco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('01', 'CX01')"));
  Resultado cheio = Rodar({QStringLiteral("--status"), QStringLiteral("--ini=") + ini}, QStringLiteral("/dev/full"));
  EXPECT_EQ(cheio.Codigo, 1);
  EXPECT_TRUE(cheio.Erro.startsWith("Não foi possível escrever a saída: ")) << cheio.Erro.toStdString();

  // The reader has ended before the program writes.
  Resultado fechado = Rodar({QStringLiteral("-c"),
                             QStringLiteral("(sleep 1; exec \"$0\" --status --ini=\"$1\") | true; exit ${PIPESTATUS[0]}"),
                             QStringLiteral(PAINEL_TOOLS_DIR "/../painel-integracao"), ini},
                            QString(), QStringLiteral("/bin/bash"));
  EXPECT_EQ(fechado.Codigo, 1);
  EXPECT_TRUE(fechado.Erro.startsWith("Não foi possível escrever a saída: ")) << fechado.Erro.toStdString();
}

}  // namespace
