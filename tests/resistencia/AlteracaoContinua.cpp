#include "AlteracaoContinua.h"

#include <QStringList>
#include <QThread>

#include "ServidorTeste.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

AlteracaoContinua::AlteracaoContinua(const QString& caminhoLocal) {
  FLinha = std::thread([=, this] { Executar(caminhoLocal); });
}

AlteracaoContinua::~AlteracaoContinua() { Parar(); }

void AlteracaoContinua::Parar() {
  FParar = true;
  if (FLinha.joinable()) FLinha.join();
}

void AlteracaoContinua::Executar(const QString& caminhoLocal) {
  try {
    ConexaoBanco conexao;
    ServidorTeste::Instancia().Configurar(conexao, caminhoLocal, ServidorTeste::UsuarioAdmin(),
                                          ServidorTeste::SenhaAdmin());
    // Every statement takes the round number :N; prepared once each.
    const QStringList textos{
        QStringLiteral("UPDATE IGFMAQUINA SET QTDREGRECEB = :N, ULTRECEB = CAST('NOW' AS DATE) - MOD(:N, 7), "
                       "ULTENVIO = 'NOW', INTERVALO = MOD(:N, 60)"),
        QStringLiteral("UPDATE FILIAIS SET NOMEEMPRESA = 'Loja ' || CODEMPRESA || ' rodada ' || :N"),
        QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, CHAVE0, INCINTEGMAQUINA, DATAHORA) "
                       "VALUES (100000 + :N, 'A', 'PRODUTOS', :N, 'S', 'NOW')"),
        QStringLiteral("DELETE FROM MVINTEGGERAL WHERE ORDEM = 100000 + :N - 50"),
        QStringLiteral("UPDATE INTEGMAQUINA SET ATUALIZOU = IIF(MOD(ORDEM + :N, 2) = 0, 'S', 'N')"),
        QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) "
                       "VALUES ('01', 'CX01', 100000 + :N)"),
        QStringLiteral("DELETE FROM REGISTROSINTEGRADOS WHERE ORDEM = 100000 + :N - 50"),
        QStringLiteral("UPDATE FILAINTEGOFFLINE SET STATUS = MOD(STATUS + 1, 4), DATA_EXECUCAO = 'NOW', "
                       "SCRIPT = 'UPDATE PRODUTOS SET PRECO = ' || :N || ' WHERE ID = ' || ID WHERE MOD(ID, 3) = MOD(:N, 3)"),
        QStringLiteral("UPDATE INTEGERRO SET CONFERIDO = IIF(CONFERIDO = 'S', 'N', 'S') WHERE MOD(IDINTEGERRO, 4) = "
                       "MOD(:N, 4)"),
        QStringLiteral("INSERT INTO INTEGERRO (CODEMPRESA, MAQUINAECF, IDINTEGERRO, DATAERRO, MSGERRO, CONFERIDO) "
                       "VALUES ('01', 'CX02', 100000 + :N, 'NOW', 'erro da rodada ' || :N, 'N')"),
        QStringLiteral("DELETE FROM INTEGERRO WHERE IDINTEGERRO = 100000 + :N - 20"),
    };
    std::vector<std::unique_ptr<ConsultaSql>> instrucoes;
    for (const QString& texto : textos) {
      instrucoes.push_back(std::make_unique<ConsultaSql>(&conexao));
      instrucoes.back()->SetSql(texto);
    }
    for (long rodada = 1; !FParar; ++rodada) {
      conexao.IniciarTransacao();
      for (auto& instrucao : instrucoes) {
        instrucao->SetParam(QStringLiteral("N"), QString::number(rodada));
        instrucao->Executar();
      }
      conexao.ConfirmarTransacao();
      FRodadas = rodada;
      QThread::msleep(20);
    }
  } catch (const Falha& f) {
    FErro = f.Mensagem();
  }
}
