#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "BloqueioConcorrente.h"
#include "PainelServidor.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

namespace {

const QString kSucesso = QStringLiteral("Registros atualizados com sucesso.");

// Another attachment that keeps recording errored queue entries, two per
// transaction, until told to stop. Every entry carries its id in its script,
// so a half-written one shows.
class InsercaoConcorrente {
 public:
  explicit InsercaoConcorrente(const QString& caminhoLocal, int primeiroId)
      : FProximo(primeiroId), FConfirmados(primeiroId) {
    FLinha = std::thread([=, this] { Executar(caminhoLocal); });
  }
  ~InsercaoConcorrente() { Parar(); }

  void Parar() {
    FParar = true;
    if (FLinha.joinable()) FLinha.join();
  }
  // Ids below this are committed.
  int Confirmados() const { return FConfirmados.load(); }
  const QString& Erro() const { return FErro; }

 private:
  void Executar(const QString& caminhoLocal) {
    try {
      ConexaoBanco conexao;
      ServidorTeste::Instancia().Configurar(conexao, caminhoLocal, ServidorTeste::UsuarioAdmin(),
                                            ServidorTeste::SenhaAdmin());
      ConsultaSql insercao(&conexao);
      insercao.SetSql(QStringLiteral(
          "INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, TABELA, SCRIPT, "
          "DATA_INCLUSAO) VALUES (:ID, :ID, :EMPRESA, 'CX01', 'I', 3, 'PRODUTOS', 'script ' || :ID, 'NOW')"));
      while (!FParar && FProximo < 100000) {
        conexao.IniciarTransacao();
        for (int i = 0; i < 2; ++i, ++FProximo) {
          insercao.SetParam(QStringLiteral("ID"), QString::number(FProximo));
          insercao.SetParam(QStringLiteral("EMPRESA"), FProximo % 2 ? QStringLiteral("01") : QStringLiteral("02"));
          insercao.Executar();
        }
        conexao.ConfirmarTransacao();
        FConfirmados = FProximo;
      }
    } catch (const Falha& f) {
      FErro = f.Mensagem();
    }
  }

  int FProximo;
  std::atomic<int> FConfirmados;
  std::atomic<bool> FParar{false};
  QString FErro;
  std::thread FLinha;
};

class ReprocessarServidor : public PainelServidor {
 protected:
  void Entrada(int id, int status) {
    FBanco.Executar(QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, ID_ORIGEM, CODEMPRESA, MAQUINA, ACAO, STATUS, "
                                   "TABELA, SCRIPT, DATA_INCLUSAO) VALUES (%1, %1, '01', 'CX01', 'I', %2, 'PRODUTOS', "
                                   "'script %1', 'NOW')")
                        .arg(id)
                        .arg(status));
  }
  QString Contar(const QString& onde) {
    return FBanco.Valor(QStringLiteral("SELECT COUNT(*) FROM FILAINTEGOFFLINE WHERE ") + onde);
  }
};

TEST_F(ReprocessarServidor, ReprocessarComEntradasChegandoDeixaCadaUmaInteiraReiniciadaOuEmErro) {
  for (int id = 1; id <= 10; ++id) Entrada(id, id % 5 == 0 ? 1 : 3);
  Painel();

  InsercaoConcorrente outro(FBanco.Caminho(), 1000);
  for (int rodada = 0; rodada < 3; ++rodada) {
    const int antes = outro.Confirmados();
    ASSERT_TRUE(Esperar([&] { return outro.Confirmados() >= antes + 20 || !outro.Erro().isEmpty(); }));
    ASSERT_EQ(outro.Erro(), QString());
    const int confirmadosAntes = outro.Confirmados();
    ClicarBotao("btnReexecutaErros");
    ASSERT_EQ(FDialogos.Caixas().size(), 2 * (rodada + 1)) << FDialogos.Textos().join(u'\n').toStdString();
    EXPECT_EQ(FDialogos.Caixas().back().Texto, kSucesso);
    // Everything committed before the click was reset.
    EXPECT_EQ(Contar(QStringLiteral("STATUS = 3 AND ID < %1").arg(confirmadosAntes)), QStringLiteral("0"));
  }
  outro.Parar();
  ASSERT_EQ(outro.Erro(), QString());
  const int total = outro.Confirmados() - 1000;
  ASSERT_GE(total, 60);

  // No entry lost, none half-written: each is whole, either reset or still
  // in error; the executed ones were not touched.
  EXPECT_EQ(Contar(QStringLiteral("1 = 1")), QString::number(total + 10));
  EXPECT_EQ(Contar(QStringLiteral("STATUS NOT IN (0, 3) AND MOD(ID, 5) <> 0")), QStringLiteral("0"));
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 1")), QStringLiteral("2"));
  EXPECT_EQ(Contar(QStringLiteral("SCRIPT IS DISTINCT FROM 'script ' || ID OR TABELA IS DISTINCT FROM 'PRODUTOS' "
                                  "OR ID_ORIGEM IS DISTINCT FROM ID OR ACAO IS DISTINCT FROM 'I'")),
            QStringLiteral("0"));

  // Nothing arriving any more: one more pass resets what came after.
  ClicarBotao("btnReexecutaErros");
  EXPECT_EQ(FDialogos.Caixas().back().Texto, kSucesso);
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 3")), QStringLiteral("0"));
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 0")), QString::number(total + 8));
}

TEST_F(ReprocessarServidor, ReprocessarEsperaOBloqueioEConflitoNaoReiniciaNenhuma) {
  for (int id = 1; id <= 5; ++id) Entrada(id, 3);
  Entrada(6, 1);
  Painel();
  // Another attachment holds an uncommitted change of an errored entry:
  // the reprocessing waits for it and goes through once it is rolled back.
  {
    auto outro = std::make_unique<BloqueioConcorrente>(
        FBanco.Caminho(), QStringLiteral("UPDATE FILAINTEGOFFLINE SET SCRIPT = 'do outro' WHERE ID = 3"),
        QStringLiteral("FILAINTEGOFFLINE"), BloqueioConcorrente::Desfecho::Desfazer);
    ClicarBotao("btnReexecutaErros");
    outro->Terminar();
    EXPECT_TRUE(outro->EsperaVista()) << "o reprocessamento não esperou pelo bloqueio";
    EXPECT_EQ(outro->Erro(), QString());
  }
  ASSERT_EQ(FDialogos.Caixas().size(), 2) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(FDialogos.Caixas()[1].Texto, kSucesso);
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 0")), QStringLiteral("5"));
  EXPECT_EQ(Contar(QStringLiteral("SCRIPT = 'script 3'")), QStringLiteral("1"));

  // The other commits its change of an errored entry: the single statement
  // fails whole and no entry is reset.
  FBanco.Executar(QStringLiteral("UPDATE FILAINTEGOFFLINE SET STATUS = 3 WHERE STATUS = 0"));
  {
    auto outro = std::make_unique<BloqueioConcorrente>(
        FBanco.Caminho(), QStringLiteral("UPDATE FILAINTEGOFFLINE SET SCRIPT = 'do outro' WHERE ID = 3"),
        QStringLiteral("FILAINTEGOFFLINE"), BloqueioConcorrente::Desfecho::Confirmar);
    ClicarBotao("btnReexecutaErros");
    outro->Terminar();
    EXPECT_TRUE(outro->EsperaVista());
  }
  ASSERT_EQ(FDialogos.Caixas().size(), 4) << FDialogos.Textos().join(u'\n').toStdString();
  EXPECT_EQ(FDialogos.Caixas()[3].Titulo, QStringLiteral("Alerta"));
  EXPECT_TRUE(FDialogos.Caixas()[3].Texto.startsWith(
      QStringLiteral("Não foi possível atualizar os registros: deadlock\n-update conflicts with concurrent update\n")))
      << FDialogos.Caixas()[3].Texto.toStdString();
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 3")), QStringLiteral("5"));
  EXPECT_EQ(Contar(QStringLiteral("STATUS = 1")), QStringLiteral("1"));
  EXPECT_EQ(Contar(QStringLiteral("SCRIPT = 'do outro'")), QStringLiteral("1"));
  EXPECT_FALSE(Painel().cnVelmora().EmTransacao());
}

}  // namespace
