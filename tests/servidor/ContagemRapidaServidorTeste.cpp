#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QHash>
#include <atomic>
#include <deque>
#include <thread>

#include "TesteServidor.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

namespace {

// The machines of the test: branch code as IGFMAQUINA holds it (one with a
// trailing blank), machine identifier.
const QList<QPair<QString, QString>> kMaquinas = {
    {QStringLiteral("01"), QStringLiteral("CX1")}, {QStringLiteral("01"), QStringLiteral("CX2")},
    {QStringLiteral("02"), QStringLiteral("CX1")}, {QStringLiteral("02 "), QStringLiteral("CX3")},
    {QStringLiteral("03"), QStringLiteral("CX1")}, {QStringLiteral("03"), QStringLiteral("CX2")}};

// Another attachment writing as the integration programs do, in
// transactions that leave every machine's true counts as they were: each
// either adds a change to the log and records it as integrated by every
// machine, or purges such a change together with its records.
class EscritaConcorrente {
 public:
  explicit EscritaConcorrente(const QString& caminhoLocal) {
    FLinha = std::thread([=, this] { Executar(caminhoLocal); });
  }
  ~EscritaConcorrente() { Parar(); }
  void Parar() {
    FParar = true;
    if (FLinha.joinable()) FLinha.join();
  }
  int Transacoes() const { return FTransacoes.load(); }
  const QString& Erro() const { return FErro; }

 private:
  void Executar(const QString& caminhoLocal) {
    try {
      ConexaoBanco conexao;
      ServidorTeste::Instancia().Configurar(conexao, caminhoLocal, ServidorTeste::UsuarioAdmin(),
                                            ServidorTeste::SenhaAdmin());
      ConsultaSql alteracao(&conexao), integrado(&conexao), expurgoIntegrados(&conexao), expurgo(&conexao);
      alteracao.SetSql(QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) "
                                      "VALUES (:ORDEM, 'A', 'PRODUTOS', 'S')"));
      integrado.SetSql(QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) "
                                      "VALUES (:MAQUINA, :MAQUINAECF, :ORDEM)"));
      expurgoIntegrados.SetSql(QStringLiteral("DELETE FROM REGISTROSINTEGRADOS WHERE ORDEM = :ORDEM"));
      expurgo.SetSql(QStringLiteral("DELETE FROM MVINTEGGERAL WHERE ORDEM = :ORDEM"));
      std::deque<int> vivas;
      for (int ordem = 1000; !FParar; ++ordem) {
        conexao.IniciarTransacao();
        alteracao.SetParam(QStringLiteral("ORDEM"), QString::number(ordem));
        alteracao.Executar();
        for (const auto& [empresa, maquina] : kMaquinas) {
          integrado.SetParam(QStringLiteral("MAQUINA"), empresa.trimmed());
          integrado.SetParam(QStringLiteral("MAQUINAECF"), maquina);
          integrado.SetParam(QStringLiteral("ORDEM"), QString::number(ordem));
          integrado.Executar();
        }
        conexao.ConfirmarTransacao();
        ++FTransacoes;
        vivas.push_back(ordem);
        if (vivas.size() < 4) continue;
        conexao.IniciarTransacao();
        for (ConsultaSql* exclusao : {&expurgoIntegrados, &expurgo}) {
          exclusao->SetParam(QStringLiteral("ORDEM"), QString::number(vivas.front()));
          exclusao->Executar();
        }
        conexao.ConfirmarTransacao();
        ++FTransacoes;
        vivas.pop_front();
      }
    } catch (const Falha& f) {
      FErro = f.Mensagem();
    }
  }

  std::atomic<bool> FParar{false};
  std::atomic<int> FTransacoes{0};
  QString FErro;
  std::thread FLinha;
};

using Contagens = QHash<QString, QPair<qint32, qint32>>;

Contagens Ler(const TabelaStatus& tabela) {
  Contagens contagens;
  for (int i = 0; i < tabela.QtdLinhas(); ++i) {
    const LinhaStatus& linha = tabela.Linha(i);
    contagens.insert(linha.CODEMPRESA + u'/' + linha.MAQUINAECF, {linha.QTDREGENVIAR, linha.QTDREGFILA});
  }
  return contagens;
}

class ContagemRapidaServidor : public TesteServidor {};

TEST_F(ContagemRapidaServidor, CadaAtualizacaoMostraOsNumerosDeUmInstanteEnquantoOErpGrava) {
  QStringList script{QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('01', 'Centro');"),
                     QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('02', 'Norte');"),
                     QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('03', 'Sul');")};
  for (const auto& [empresa, maquina] : kMaquinas)
    script << QStringLiteral("INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF) VALUES ('%1', '%2');").arg(empresa, maquina);
  // A log the machines are behind on by different amounts, undelivered
  // records and queue entries of their own.
  for (int ordem = 1; ordem <= 60; ++ordem) {
    const bool transferencia = ordem % 7 == 0;
    script << QStringLiteral("INSERT INTO MVINTEGGERAL (ORDEM, ACAO, TABELA, INCINTEGMAQUINA) VALUES (%1, '%2', '%3', "
                             "'S');")
                  .arg(ordem)
                  .arg(transferencia ? QStringLiteral("I") : QStringLiteral("A"),
                       transferencia ? QStringLiteral("TRANSF_ESTOQUE") : QStringLiteral("PRODUTOS"));
    for (int m = 0; m < kMaquinas.size(); ++m) {
      const QString empresa = kMaquinas[m].first.trimmed(), maquina = kMaquinas[m].second;
      if (ordem <= 10 * m)
        script << QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) VALUES ('%1', '%2', %3);")
                      .arg(empresa, maquina)
                      .arg(ordem);
      if (ordem % (m + 3) == 0)
        script << QStringLiteral("INSERT INTO INTEGMAQUINA (MAQUINA, MAQUINAECF, ORDEM, ATUALIZOU) VALUES ('%1', '%2', "
                                 "%3, 'N');")
                      .arg(empresa, maquina)
                      .arg(ordem);
      if (ordem % (m + 2) == 0)
        script << QStringLiteral("INSERT INTO FILAINTEGOFFLINE (ID, CODEMPRESA, MAQUINA, STATUS) VALUES (%1, '%2', "
                                 "'%3', %4);")
                      .arg(ordem * 10 + m)
                      .arg(empresa, maquina)
                      .arg(ordem % 4);
    }
  }
  FBanco.Executar(script.join(u'\n'));

  ConexaoBanco conexao;
  Configurar(conexao);
  TabelaStatus porMaquina, rapida;
  AtualizacaoPainel(conexao, porMaquina).Atualizar();
  const Contagens esperadas = Ler(porMaquina);
  ASSERT_EQ(esperadas.size(), kMaquinas.size());
  AtualizacaoPainel atualizacao(conexao, rapida);
  atualizacao.SetContagemRapida(true);

  EscritaConcorrente escrita(FBanco.Caminho());
  const QDeadlineTimer prazo(90000);
  int atualizacoes = 0;
  while ((escrita.Transacoes() < 400 || atualizacoes < 200) && escrita.Erro().isEmpty() && !prazo.hasExpired()) {
    ASSERT_TRUE(atualizacao.Atualizar());
    ++atualizacoes;
    ASSERT_EQ(Ler(rapida), esperadas) << "atualização " << atualizacoes << ", " << escrita.Transacoes()
                                      << " transações gravadas";
  }
  escrita.Parar();
  ASSERT_EQ(escrita.Erro(), QString());
  EXPECT_GE(escrita.Transacoes(), 400);
  EXPECT_GE(atualizacoes, 200);
  // The writing did change the tables, and the per-machine way agrees.
  EXPECT_NE(FBanco.Valor(QStringLiteral("SELECT COUNT(*) FROM MVINTEGGERAL")), QStringLiteral("60"));
  AtualizacaoPainel(conexao, porMaquina).Atualizar();
  EXPECT_EQ(Ler(porMaquina), esperadas);

  // A lost attachment takes the snapshot along; once the server is back the
  // next refresh attaches and reads again.
  MatarServidor();
  EXPECT_THROW(atualizacao.Atualizar(), Falha);
  EXPECT_FALSE(conexao.EmLeituraInstantanea());
  FServidor.Iniciar();
  ASSERT_TRUE(atualizacao.Atualizar());
  EXPECT_EQ(Ler(rapida), esperadas);
}

}  // namespace
