#include <gtest/gtest.h>

#include "BloqueioConcorrente.h"
#include "TesteServidor.h"
#include "model/Catalogo.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/FalhaBanco.h"

namespace {

// The failure an action raises; fails the test when it raises none.
FalhaBanco FalhaDe(const std::function<void()>& acao) {
  try {
    acao();
  } catch (const FalhaBanco& f) {
    return f;
  }
  ADD_FAILURE() << "a ação não falhou";
  return FalhaBanco(QString(), {}, false);
}

const QString kLoginRecusado = QStringLiteral(
    "Your user name and password are not defined. Ask your database administrator to set up a Firebird login.");

QString QuemSouEu(ConexaoBanco& conexao) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(QStringLiteral(
      "SELECT CURRENT_USER AS USUARIO, MON$REMOTE_PROTOCOL AS PROTOCOLO FROM MON$ATTACHMENTS "
      "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
  consulta.Abrir();
  return consulta.Valor(0, QStringLiteral("USUARIO")).AsString().trimmed() + u'/' +
         consulta.Valor(0, QStringLiteral("PROTOCOLO")).AsString().trimmed();
}

void InserirErro(BancoTeste& banco, int id, const QString& conferido) {
  banco.Executar(QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, "
                                "CONFERIDO) VALUES ('01', 'CX01', %1, '2026-03-04 05:06:07', 'falhou', '%2')")
                     .arg(id)
                     .arg(conferido));
}

// The error viewer's acknowledgement of one row, as the panel issues it.
void PrepararConferido(ConsultaSql& gravar, const QString& conferido, int id) {
  gravar.SetSql(Catalogo::GravarConferido());
  gravar.SetParam(QStringLiteral("PConferido"), conferido);
  gravar.SetParam(QStringLiteral("PCodEmpresa"), QStringLiteral("01"));
  gravar.SetParam(QStringLiteral("PMaqECF"), QStringLiteral("CX01"));
  gravar.SetParam(QStringLiteral("PIdIntegErro"), QString::number(id));
}

QString Conferido(BancoTeste& banco, int id) {
  return banco.Valor(QStringLiteral("SELECT CONFERIDO FROM INTEGERRO WHERE IDINTEGERRO = %1").arg(id));
}

TEST_F(TesteServidor, AnexaPorTcpComUsuarioESenhaESenhaErradaDaOTextoDoServidor) {
  InserirErro(FBanco, 1, QStringLiteral("N"));

  ConexaoBanco conexao;
  Configurar(conexao);
  EXPECT_EQ(QuemSouEu(conexao), QStringLiteral("OPERADOR/TCPv4"));
  ConsultaSql leitura(&conexao);
  leitura.SetSql(QStringLiteral("SELECT MSGERRO FROM INTEGERRO"));
  leitura.Abrir();
  ASSERT_EQ(leitura.QtdLinhas(), 1);
  EXPECT_EQ(leitura.Valor(0, 0).AsString(), QStringLiteral("falhou"));

  // The server refuses; its text comes back whole, without the password.
  ConexaoBanco errada;
  Configurar(errada, QStringLiteral("s3nha-errada"));
  const FalhaBanco recusa = FalhaDe([&] { errada.Abrir(); });
  EXPECT_EQ(recusa.Mensagem(), kLoginRecusado);
  EXPECT_TRUE(recusa.VeioDoBanco());
  EXPECT_FALSE(recusa.Mensagem().contains(QStringLiteral("s3nha-errada")));
  EXPECT_FALSE(errada.Aberta());

  ConexaoBanco desconhecido;
  FServidor.Configurar(desconhecido, FBanco.Caminho(), QStringLiteral("NINGUEM"), ServidorTeste::Senha());
  EXPECT_EQ(FalhaDe([&] { desconhecido.Abrir(); }).Mensagem(), kLoginRecusado);

  // The next statement retries with the parameters then in force.
  errada.SetParam(QStringLiteral("Password"), ServidorTeste::Senha());
  ConsultaSql depois(&errada);
  depois.SetSql(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO"));
  depois.Abrir();
  EXPECT_EQ(depois.Valor(0, 0).AsInteger(), 1);
}

TEST_F(TesteServidor, ServidorMortoSobConexaoAbertaEDepoisDeVoltarAMesmaConexaoAnexaSozinha) {
  InserirErro(FBanco, 1, QStringLiteral("N"));
  ConexaoBanco conexao;
  Configurar(conexao);
  ConsultaSql contagem(&conexao);
  contagem.SetSql(QStringLiteral("SELECT COUNT(*) FROM INTEGERRO"));
  contagem.Abrir();
  ASSERT_TRUE(conexao.Aberta());

  MatarServidor();
  const FalhaBanco perda = FalhaDe([&] { contagem.Abrir(); });
  EXPECT_TRUE(perda.Mensagem() == QStringLiteral("Error reading data from the connection.") ||
              perda.Mensagem() == QStringLiteral("Error writing data to the connection."))
      << perda.Mensagem().toStdString();
  EXPECT_TRUE(perda.ConexaoPerdida());
  EXPECT_TRUE(perda.VeioDoBanco());
  EXPECT_FALSE(conexao.Aberta());
  EXPECT_FALSE(contagem.Ativa());

  // While the server is down every statement tries to attach and says why not.
  const FalhaBanco fora = FalhaDe([&] { contagem.Abrir(); });
  EXPECT_EQ(fora.Mensagem(), QStringLiteral("Unable to complete network request to host \"localhost\".\n"
                                            "-Failed to establish a connection."));
  EXPECT_FALSE(conexao.Aberta());

  FServidor.Iniciar();
  contagem.Abrir();
  EXPECT_TRUE(conexao.Aberta());
  EXPECT_EQ(contagem.Valor(0, 0).AsInteger(), 1);
  EXPECT_EQ(QuemSouEu(conexao), QStringLiteral("OPERADOR/TCPv4"));
}

TEST_F(TesteServidor, TransacaoPerdidaComOServidorNaoGravaNadaEACancelaDoChamadorFecha) {
  InserirErro(FBanco, 1, QStringLiteral("N"));
  ConexaoBanco conexao;
  Configurar(conexao);
  ConsultaSql gravar(&conexao);
  PrepararConferido(gravar, QStringLiteral("S"), 1);

  conexao.IniciarTransacao();
  EXPECT_EQ(gravar.Executar(), 1);
  MatarServidor();
  EXPECT_TRUE(FalhaDe([&] { conexao.ConfirmarTransacao(); }).ConexaoPerdida());
  // The caller's pattern: the failed commit is followed by the roll-back.
  EXPECT_TRUE(conexao.EmTransacao());
  conexao.CancelarTransacao();
  EXPECT_FALSE(conexao.EmTransacao());

  FServidor.Iniciar();
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("N"));
  conexao.IniciarTransacao();
  EXPECT_EQ(gravar.Executar(), 1);
  conexao.ConfirmarTransacao();
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("S"));

  // Closing a connection whose server died takes its transaction with it.
  conexao.IniciarTransacao();
  MatarServidor();
  conexao.Fechar();
  EXPECT_FALSE(conexao.Aberta());
  EXPECT_FALSE(conexao.EmTransacao());
  FServidor.Iniciar();
  conexao.IniciarTransacao();
  PrepararConferido(gravar, QStringLiteral("N"), 1);
  EXPECT_EQ(gravar.Executar(), 1);
  conexao.ConfirmarTransacao();
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("N"));
}

TEST_F(TesteServidor, BancoDesligadoComGfixDaFalhaDoBancoComShutdown) {
  ConexaoBanco conexao;
  Configurar(conexao);
  ConsultaSql contagem(&conexao);
  contagem.SetSql(QStringLiteral("SELECT COUNT(*) FROM FILIAIS"));
  contagem.Abrir();

  FServidor.DesligarBanco(FBanco.Caminho());
  const FalhaBanco desligado = FalhaDe([&] { contagem.Abrir(); });
  EXPECT_TRUE(desligado.Mensagem().contains(QStringLiteral("shutdown"))) << desligado.Mensagem().toStdString();
  EXPECT_TRUE(desligado.VeioDoBanco());
  EXPECT_TRUE(desligado.ConexaoPerdida());
  EXPECT_FALSE(conexao.Aberta());

  // A new attach is refused with the same word while the database is down.
  const FalhaBanco recusado = FalhaDe([&] { contagem.Abrir(); });
  EXPECT_TRUE(recusado.Mensagem().contains(QStringLiteral("shutdown"))) << recusado.Mensagem().toStdString();

  FServidor.ReligarBanco(FBanco.Caminho());
  contagem.Abrir();
  EXPECT_EQ(contagem.Valor(0, 0).AsInteger(), 0);
}

TEST_F(TesteServidor, AlteracaoEsperaOBloqueioEConcluiQuandoOOutroDesfaz) {
  InserirErro(FBanco, 1, QStringLiteral("N"));
  InserirErro(FBanco, 2, QStringLiteral("N"));
  ConexaoBanco conexao;
  Configurar(conexao);
  ConsultaSql gravar(&conexao);
  PrepararConferido(gravar, QStringLiteral("S"), 1);

  BloqueioConcorrente outro(FBanco.Caminho(), QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'X' WHERE IDINTEGERRO = 1"),
                            QStringLiteral("INTEGERRO"), BloqueioConcorrente::Desfecho::Desfazer);
  conexao.IniciarTransacao();
  EXPECT_EQ(gravar.Executar(), 1);  // returns only once the other rolled back
  conexao.ConfirmarTransacao();
  outro.Terminar();
  EXPECT_TRUE(outro.EsperaVista()) << "a alteração não esperou pelo bloqueio";
  EXPECT_EQ(outro.Erro(), QString());
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("S"));
  EXPECT_EQ(Conferido(FBanco, 2), QStringLiteral("N"));

  // Outside an explicit transaction the statement waits the same way.
  BloqueioConcorrente denovo(FBanco.Caminho(), QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'X' WHERE IDINTEGERRO = 1"),
                             QStringLiteral("INTEGERRO"), BloqueioConcorrente::Desfecho::Desfazer);
  PrepararConferido(gravar, QStringLiteral("N"), 1);
  EXPECT_EQ(gravar.Executar(), 1);
  denovo.Terminar();
  EXPECT_TRUE(denovo.EsperaVista());
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("N"));
}

TEST_F(TesteServidor, AlteracaoFalhaComOConflitoQuandoOOutroConfirmaEOValorGravadoFica) {
  InserirErro(FBanco, 1, QStringLiteral("N"));
  ConexaoBanco conexao;
  Configurar(conexao);
  ConsultaSql gravar(&conexao);
  PrepararConferido(gravar, QStringLiteral("S"), 1);

  BloqueioConcorrente outro(FBanco.Caminho(), QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = 'X' WHERE IDINTEGERRO = 1"),
                            QStringLiteral("INTEGERRO"), BloqueioConcorrente::Desfecho::Confirmar);
  conexao.IniciarTransacao();
  const FalhaBanco conflito = FalhaDe([&] { gravar.Executar(); });
  outro.Terminar();
  EXPECT_TRUE(outro.EsperaVista());
  EXPECT_EQ(outro.Erro(), QString());
  EXPECT_TRUE(conflito.Mensagem().startsWith(QStringLiteral("deadlock\n-update conflicts with concurrent update\n"
                                                            "-concurrent transaction number is ")))
      << conflito.Mensagem().toStdString();
  EXPECT_TRUE(conflito.VeioDoBanco());
  EXPECT_FALSE(conflito.ConexaoPerdida());
  EXPECT_TRUE(conexao.EmTransacao());
  conexao.CancelarTransacao();
  EXPECT_FALSE(conexao.EmTransacao());
  EXPECT_TRUE(conexao.Aberta());
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("X"));

  // The connection goes on: the next acknowledgement is written.
  conexao.IniciarTransacao();
  EXPECT_EQ(gravar.Executar(), 1);
  conexao.ConfirmarTransacao();
  EXPECT_EQ(Conferido(FBanco, 1), QStringLiteral("S"));
}

}  // namespace
