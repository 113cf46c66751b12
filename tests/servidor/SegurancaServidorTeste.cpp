#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QSet>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "PainelServidor.h"
#include "model/Catalogo.h"
#include "panel/ColunaGrid.h"
#include "panel/LinhaStatus.h"

namespace {

struct Execucao {
  int Status = -1;
  QByteArray Saida;
  QByteArray Erros;
};

QString Literal(const QString& valor) {
  QString texto = valor;
  return u'\'' + texto.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// Every file under the folders, with its size and time of change.
QMap<QString, QString> Retrato(const QStringList& pastas) {
  QMap<QString, QString> arquivos;
  for (const QString& pasta : pastas) {
    QDirIterator it(pasta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QFileInfo info(it.next());
      arquivos.insert(info.absoluteFilePath(), QStringLiteral("%1 %2").arg(info.size()).arg(
                                                   info.lastModified().toMSecsSinceEpoch()));
    }
  }
  return arquivos;
}

class SegurancaServidor : public PainelServidor {
 protected:
  Execucao Rodar(const QString& ini, const QStringList& opcoes) {
    QProcess programa;
    programa.setProcessEnvironment(AmbientePrograma());
    programa.start(QStringLiteral(PAINEL_EXECUTAVEL), QStringList{QStringLiteral("--ini=") + ini} + opcoes);
    Execucao execucao;
    if (!programa.waitForFinished(60000)) {
      ADD_FAILURE() << "o programa não terminou: " << opcoes.join(u' ').toStdString();
      return execucao;
    }
    execucao.Status = programa.exitStatus() == QProcess::NormalExit ? programa.exitCode() : -1;
    execucao.Saida = programa.readAllStandardOutput();
    execucao.Erros = programa.readAllStandardError();
    return execucao;
  }

  // Runs an action in the next modal window the panel opens, then makes
  // sure it closes (the opener's exec returns).
  void NaJanelaModal(std::function<void(QDialog*)> acao) {
    auto* espera = new QTimer();
    espera->setInterval(10);
    auto tentativas = std::make_shared<int>(0);
    QObject::connect(espera, &QTimer::timeout, [espera, tentativas, acao] {
      auto* janela = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!janela) {
        if (++*tentativas > 500) {
          ADD_FAILURE() << "nenhuma janela modal abriu";
          espera->deleteLater();
        }
        return;
      }
      espera->stop();
      espera->deleteLater();
      QPointer<QDialog> viva(janela);
      acao(janela);
      if (viva && viva->isVisible()) viva->close();
    });
    espera->start();
  }

  static void DuploClique(QTableView* grid, int linha, int coluna) {
    PainelServidor::DuploClique(grid, grid->model()->index(linha, coluna));
  }

  void SelecionarLinha(const QString& maquina, CampoStatus campo, bool clicar) {
    auto* grid = Painel().findChild<QTableView*>(QStringLiteral("GridPainel"));
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < grid->model()->rowCount(); ++i) {
      if (Painel().Filiais()->LinhaExibida(i).MAQUINAECF != maquina) continue;
      const QModelIndex indice = grid->model()->index(i, ColunaGrid::IndiceDe(campo));
      if (clicar) {
        Clicar(grid->viewport(), grid->visualRect(indice).center());
      } else {
        grid->setCurrentIndex(indice);
      }
      return;
    }
    FAIL() << "máquina não listada: " << maquina.toStdString();
  }
};

TEST_F(SegurancaServidor, UsuarioESenhaDecodificadosNuncaAparecemEmSaidaOuMensagem) {
  Filial(QStringLiteral("01"), QStringLiteral("Centro"));
  Maquina(QStringLiteral("01"), QStringLiteral("CX01"));
  const QString senhaErrada = QStringLiteral("Errad@77");
  QTemporaryDir outraPasta;
  const QString iniErrado =
      ConfiguracaoTeste::Escrever(outraPasta.path(), Caminho(), ServidorTeste::Usuario(), senhaErrada);
  const QString motivoConexao = QStringLiteral("Falha ao conectar banco de dados ") + Caminho() +
                                QStringLiteral(". Motivo: Your user name and password are not defined. Ask your "
                                               "database administrator to set up a Firebird login.\r\n"
                                               "Entre em contato com o suporte técnico.");

  QList<QByteArray> saidas;
  const Execucao status = Rodar(FIni, {QStringLiteral("--status")});
  EXPECT_EQ(status.Status, 0) << status.Erros.toStdString();
  EXPECT_TRUE(status.Saida.contains("CX01")) << status.Saida.toStdString();
  const Execucao verificacao = Rodar(FIni, {QStringLiteral("--check")});
  EXPECT_GE(verificacao.Status, 0);
  const Execucao recusada = Rodar(iniErrado, {QStringLiteral("--status")});
  EXPECT_EQ(recusada.Status, 1);
  // The reason names the database and gives the server's text.
  EXPECT_TRUE(QString::fromUtf8(recusada.Erros + recusada.Saida).contains(Caminho()))
      << recusada.Erros.toStdString();
  EXPECT_TRUE((recusada.Erros + recusada.Saida).contains("Your user name and password are not defined"))
      << recusada.Erros.toStdString();
  saidas << status.Saida << status.Erros << verificacao.Saida << verificacao.Erros << recusada.Saida << recusada.Erros;

  // The window with the wrong password: the connection message at start,
  // then the first refresh's own failure.
  {
    TFPainel painel(iniErrado);
    painel.Temporizacao()->SetAtivo(false);
    ASSERT_EQ(FDialogos.Caixas().size(), 1);
    EXPECT_EQ(FDialogos.Caixas()[0].Texto, motivoConexao);
    auto* botao = painel.findChild<QPushButton*>(QStringLiteral("btAtualizar"));
    Clicar(botao);
    ASSERT_EQ(FDialogos.Caixas().size(), 2);
    EXPECT_EQ(FDialogos.Caixas()[1].Texto,
              QStringLiteral("Your user name and password are not defined. Ask your database administrator to set up "
                             "a Firebird login."));
    painel.Temporizacao()->SetAtivo(false);
  }
  for (const QString& texto : FDialogos.Textos()) saidas << texto.toUtf8();

  for (const QByteArray& saida : saidas) {
    for (const QString& segredo : {ServidorTeste::Usuario(), ServidorTeste::Senha(), senhaErrada}) {
      EXPECT_FALSE(saida.contains(segredo.toUtf8())) << segredo.toStdString() << " em: " << saida.toStdString();
    }
    for (const QString& senha : {ServidorTeste::Senha(), senhaErrada})
      EXPECT_FALSE(saida.toLower().contains(senha.toLower().toUtf8())) << senha.toStdString() << " em: " << saida.toStdString();
  }
}

// A whole session with every window, on a database whose branch code,
// machine identifier and table name hold quotes and SQL. Those values come
// back into statements: bound, they select exactly their own rows; spliced,
// they would break the statement or widen it. Every statement run is one of
// the catalogue's; no file is written; the log shown is left as it was.
TEST_F(SegurancaServidor, SessaoComTodasAsJanelasSoInstrucoesDoCatalogoValoresLigadosNenhumArquivoGravado) {
  const QString filial = QStringLiteral("1'");
  const QString maquina = QStringLiteral("X'--");
  const QString tabela = QStringLiteral("PROD'UTOS");
  FBanco.Executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES (%1, 'Filial '' OR ''1''=''1')")
                      .arg(Literal(filial)));
  Filial(QStringLiteral("01"), QStringLiteral("Centro"));
  FBanco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES (%1, %2, 0)")
                      .arg(Literal(filial), Literal(maquina)));
  FBanco.Executar(QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, ULTIDSERVER) VALUES ('01', 'CX01', 0)"));
  // Change log: two entries, both already delivered to CX01.
  for (int ordem = 1; ordem <= 2; ++ordem) {
    FBanco.Executar(QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, INCINTEGMAQUINA) VALUES "
                                   "(%1, 'A', %2, '7', 'S')")
                        .arg(ordem)
                        .arg(Literal(tabela)));
    FBanco.Executar(
        QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('01', 'CX01', %1)").arg(ordem));
  }
  // Per-machine deliveries: CX01 four pending, the other one pending and
  // two done (the sent list).
  for (int ordem = 1; ordem <= 4; ++ordem)
    FBanco.Executar(
        QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('01', 'CX01', %1, 'N')")
            .arg(ordem + 10));
  FBanco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES (%1, %2, 20, 'N')")
                      .arg(Literal(filial), Literal(maquina)));
  for (int ordem = 1; ordem <= 2; ++ordem)
    FBanco.Executar(QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES (%1, %2, %3, 'S')")
                        .arg(Literal(filial), Literal(maquina))
                        .arg(ordem));
  // Queue: three waiting for CX01, one in error for the other.
  for (int id = 1; id <= 3; ++id)
    FBanco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, "
                                   "DATA_INCLUSAO) VALUES (%1, '01', 'CX01', 'I', 0, 'PRODUTOS', 'x', 'NOW')")
                        .arg(id));
  FBanco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, "
                                 "DATA_INCLUSAO) VALUES (9, %1, %2, 'A', 3, %3, 'UPDATE X SET Y = ''1''', 'NOW')")
                      .arg(Literal(filial), Literal(maquina), Literal(tabela)));
  // Errors: one of the quoted machine, two of CX01.
  FBanco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, "
                                 "CONFERIDO) VALUES (%1, %2, 1, 'NOW', 'falhou '' OR ''1''=''1', 'N')")
                      .arg(Literal(filial), Literal(maquina)));
  Erro(QStringLiteral("01"), QStringLiteral("CX01"), 2, QStringLiteral("N"));
  Erro(QStringLiteral("01"), QStringLiteral("CX01"), 3, QStringLiteral("N"));
  // A log with Windows-1252 bytes and mixed line ends.
  QTemporaryDir pastaLog;
  const QString log = pastaLog.filePath(QStringLiteral("servico.log"));
  {
    QFile arquivo(log);
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.write("linha 1 \xe7\xe3o\r\nlinha 2 ' OR '1'='1\nfim\r");
  }
  QFile::setPermissions(log, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  const QByteArray bytesLog = [&] {
    QFile arquivo(log);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
  }();

  QTemporaryDir pastaTrabalho;
  const QString trabalhoAntes = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(pastaTrabalho.path()));
  const QStringList pastas{pastaTrabalho.path(), FPastaIni.path(), pastaLog.path(),
                           QCoreApplication::applicationDirPath()};
  const QMap<QString, QString> antes = Retrato(pastas);

  QSet<QString> executadas;
  TFPainel& painel = Painel();
  painel.cnVelmora().SetObservador([&](const QString& sql) { executadas.insert(sql); });
  // What the start ran before the observer was set, once more.
  painel.CarregarIntervalo();
  painel.ConfigurarColunaMaquina();

  // Refresh: each row's counts are its own.
  ClicarBotao("btAtualizar");
  ASSERT_EQ(Linhas(), 2);
  ASSERT_TRUE(FDialogos.Caixas().isEmpty()) << FDialogos.Textos().join(u'\n').toStdString();
  QMap<QString, LinhaStatus> linhas;
  for (int i = 0; i < Linhas(); ++i) linhas.insert(painel.Filiais()->Linha(i).MAQUINAECF, painel.Filiais()->Linha(i));
  ASSERT_TRUE(linhas.contains(maquina));
  EXPECT_EQ(linhas[maquina].CODEMPRESA, filial);
  EXPECT_EQ(linhas[maquina].QTDREGENVIAR, 3);
  EXPECT_EQ(linhas[maquina].QTDREGFILA, 1);
  EXPECT_EQ(linhas[maquina].STATUSERRO, QStringLiteral("Sim"));
  EXPECT_EQ(linhas[QStringLiteral("CX01")].QTDREGENVIAR, 4);
  EXPECT_EQ(linhas[QStringLiteral("CX01")].QTDREGFILA, 3);

  // The synchronised-records viewer of the quoted machine: its own rows in
  // every list, the key looked up for the quoted table name.
  SelecionarLinha(maquina, CampoStatus::NOME, false);
  int recebidos = -1, enviados = -1, proximos = -1;
  NaJanelaModal([&](QDialog* janela) {
    auto linhasDe = [&](const char* nome) {
      auto* grid = janela->findChild<QTableView*>(QLatin1String(nome));
      return grid ? grid->model()->rowCount() : -1;
    };
    recebidos = linhasDe("GridReceb");
    enviados = linhasDe("GridEnv");
    Clicar(janela->findChild<QPushButton*>(QStringLiteral("btTodos")));
    proximos = linhasDe("GridPrx");
  });
  ClicarBotao("btUltReg");
  EXPECT_EQ(recebidos, 1);
  EXPECT_EQ(enviados, 2);
  EXPECT_EQ(proximos, 2);
  EXPECT_TRUE(FDialogos.Caixas().isEmpty()) << FDialogos.Textos().join(u'\n').toStdString();

  // The error viewer of the quoted machine: only its error; acknowledged,
  // both views, all marked, then the branch's errors deleted.
  int errosListados = -1, todosListados = -1;
  NaJanelaModal([&](QDialog* janela) {
    auto* grid = janela->findChild<QTableView*>(QStringLiteral("GridVisualizar"));
    errosListados = grid->model()->rowCount();
    if (errosListados > 0) DuploClique(grid, 0, 0);
    Clicar(janela->findChild<QRadioButton*>(QStringLiteral("VisualizarTodos")));
    todosListados = grid->model()->rowCount();
    Clicar(janela->findChild<QRadioButton*>(QStringLiteral("VisualizarNaoConferidos")));
    Clicar(janela->findChild<QCheckBox*>(QStringLiteral("MarcarTodos")));
    Clicar(janela->findChild<QPushButton*>(QStringLiteral("btExcluir")));
  });
  SelecionarLinha(maquina, CampoStatus::STATUSERRO, true);
  EXPECT_EQ(errosListados, 1);
  EXPECT_EQ(todosListados, 1);
  EXPECT_EQ(FDialogos.Textos(), QStringList({QStringLiteral("Deseja realmente excluir erros?"),
                                             QStringLiteral("Exclusão finalizada com sucesso.")}));
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO WHERE CODEMPRESA = %1").arg(Literal(filial))),
            QStringLiteral("0"));
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO WHERE CODEMPRESA = '01' AND CONFERIDO = 'N'")),
            QStringLiteral("2"));

  // The log viewer shows the file.
  FDialogos.Limpar();
  FDialogos.EnfileirarArquivo(log);
  QString mostrado;
  NaJanelaModal([&](QDialog* janela) {
    Clicar(janela->findChild<QToolButton*>(QStringLiteral("SpeedButton")));
    mostrado = janela->findChild<QPlainTextEdit*>(QStringLiteral("Memo"))->toPlainText();
  });
  ClicarBotao("btVisualizar");
  EXPECT_TRUE(mostrado.contains(QStringLiteral("linha 2 ' OR '1'='1"))) << mostrado.toStdString();

  // Reprocessing, confirmed.
  ClicarBotao("btnReexecutaErros");
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT STATUS FROM FILAINTEGOFFLINE WHERE ID = 9")), QStringLiteral("0"));
  EXPECT_EQ(FBanco.Valor(QStringLiteral("SELECT SCRIPT FROM FILAINTEGOFFLINE WHERE ID = 9")),
            QStringLiteral("UPDATE X SET Y = '1'"));
  ClicarBotao("btAtualizar");
  EXPECT_EQ(FDialogos.Textos(), QStringList({QStringLiteral("Esta ação irá reverter os registros processados com erros "
                                                            "pela Fila em registros pendentes, para que sejam executados "
                                                            "novamente. \rDeseja continuar?"),
                                             QStringLiteral("Registros atualizados com sucesso.")}));
  painel.Temporizacao()->SetAtivo(false);

  const QSet<QString> catalogo{
      Catalogo::StatusMaquinas(),     Catalogo::RegistrosEnviar(),  Catalogo::RegistrosFila(),
      Catalogo::IntervaloPainel(),    Catalogo::UsaWebService(),    Catalogo::ProximosRegistros(),
      Catalogo::ProximosRegistrosTodos(), Catalogo::RegistrosEnviados(), Catalogo::RegistrosRecebidos(),
      Catalogo::ChavePrimaria(),      Catalogo::ErrosNaoConferidos(), Catalogo::ErrosTodos(),
      Catalogo::ReprocessarErros(),   Catalogo::GravarConferido(),  Catalogo::ExcluirErros()};
  const QSet<QString> fora = executadas - catalogo;
  EXPECT_TRUE(fora.isEmpty()) << QStringList(fora.values()).join(QStringLiteral("\n---\n")).toStdString();
  // The session used them all.
  EXPECT_EQ(executadas.size(), catalogo.size())
      << QStringList((catalogo - executadas).values()).join(QStringLiteral("\n---\n")).toStdString();

  QDir::setCurrent(trabalhoAntes);
  EXPECT_EQ(Retrato(pastas), antes);
  QFile arquivo(log);
  ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
  EXPECT_EQ(arquivo.readAll(), bytesLog);
}

}  // namespace
