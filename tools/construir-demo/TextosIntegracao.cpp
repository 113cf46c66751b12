#include "TextosIntegracao.h"

#include <QStringList>

#include "ErpDemo.h"
#include "Sorteio.h"

QString TextosIntegracao::ScriptFila(const Maquina& m, const QString& acao, const QString& tabela,
                                     const QDateTime& quando, int qtdClientes) {
  const QString f = m.CodFilial();
  const QString produto = CodigoProduto(FSorteio.Entre(0, QtdProdutos() - 1));
  const int documento = 50000 + FSorteio.Entre(0, 9999);
  if (acao == QLatin1String("P"))
    return QStringLiteral("EXECUTE PROCEDURE SP_FECHAR_CAIXA(%1, %2, %3);")
        .arg(Aspas(f), Aspas(m.Ecf), Aspas(quando.toString(QStringLiteral("yyyy-MM-dd"))));
  if (tabela == QLatin1String("MVGERAL")) {
    if (acao == QLatin1String("E"))
      return QStringLiteral("DELETE FROM MVGERAL\r\nWHERE CODEMPRESA = %1 AND SERIE = 'NFC' AND NUMDOCUMENTO = %2;")
          .arg(Aspas(f))
          .arg(documento);
    if (acao == QLatin1String("A"))
      return QStringLiteral("UPDATE MVGERAL SET VALORTOTAL = %1\r\nWHERE CODEMPRESA = %2 AND SERIE = 'NFC' AND "
                            "NUMDOCUMENTO = %3;")
          .arg(Dinheiro(FSorteio.Entre(500, 40000) / 100.0), Aspas(f))
          .arg(documento);
    return QStringLiteral("INSERT INTO MVGERAL (CODEMPRESA, SERIE, NUMDOCUMENTO, DATAEMISSAO, CODCLIENTE, VALORTOTAL)\r\n"
                          "VALUES (%1, 'NFC', %2, %3, %4, %5);\r\n"
                          "UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %6\r\n"
                          "WHERE CODEMPRESA = %1 AND CODPRODUTO = %7;")
        .arg(Aspas(f))
        .arg(documento)
        .arg(Aspas(Sql(quando)))
        .arg(FSorteio.Entre(1, qtdClientes))
        .arg(Dinheiro(FSorteio.Entre(500, 40000) / 100.0))
        .arg(FSorteio.Entre(1, 6))
        .arg(Aspas(produto));
  }
  if (tabela == QLatin1String("CLIENTES")) {
    const QString nome = NomePessoa(FSorteio, 1);
    if (acao == QLatin1String("A"))
      return QStringLiteral("UPDATE CLIENTES SET CIDADE = %1\r\nWHERE CODCLIENTE = %2;")
          .arg(Aspas(FSorteio.Um(kCidades)))
          .arg(FSorteio.Entre(1, qtdClientes));
    return QStringLiteral("INSERT INTO CLIENTES (CODCLIENTE, NOME, CIDADE, UF)\r\nVALUES (%1, %2, %3, 'SP');")
        .arg(900000 + documento)
        .arg(Aspas(nome), Aspas(FSorteio.Um(kCidades)));
  }
  return QStringLiteral("UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %1\r\nWHERE CODEMPRESA = %2 AND CODPRODUTO = %3;")
      .arg(FSorteio.Entre(1, 12))
      .arg(Aspas(f), Aspas(produto));
}

// Short messages, and long ones of several kilobytes: a failed script with
// the server's answer and the call stack, a stock reconciliation report, a
// list of connection attempts.
QString TextosIntegracao::TextoErro(int tipo, const Maquina& m, const QDateTime& quando) {
  const QString f = m.CodFilial();
  switch (tipo) {
    case 0:
      return ErroDeScript(m, quando);
    case 1:
      return QStringLiteral("Tempo limite esgotado ao aguardar resposta do servidor central (30 s).");
    case 2:
      return DivergenciaDeEstoque(m, quando);
    case 3:
      return QStringLiteral("Cliente %1 já cadastrado com outro CPF na filial %2.").arg(FSorteio.Entre(1, 480)).arg(f);
    case 4:
      return FalhaDeEnvio(m, quando);
    case 5:
      return QStringLiteral("Conflito de bloqueio ao atualizar ESTOQUE: o registro está em uso por outra transação.");
    default:
      return QStringLiteral("Número de série do documento fiscal fora da faixa autorizada para a máquina %1.").arg(m.Ecf);
  }
}

// A script the server refused: its answer, the script and the call stack.
QString TextosIntegracao::ErroDeScript(const Maquina& m, const QDateTime& quando) {
  const QString f = m.CodFilial();
  QString texto = QStringLiteral(
      "Erro ao executar o script da fila de integração (ID de origem %1) na máquina %2 da filial %3.\r\n"
      "Mensagem do servidor:\r\n"
      "violation of FOREIGN KEY constraint \"FK_MVGERAL_CLIENTES\" on table \"MVGERAL\"\r\n"
      "Foreign key reference target does not exist\r\n"
      "Problematic key value is (\"CODCLIENTE\" = %4)\r\n\r\nScript:\r\n")
                      .arg(FSorteio.Entre(7000, 19999))
                      .arg(m.Ecf, f)
                      .arg(900000 + FSorteio.Entre(0, 9999));
  const int documento = 50000 + FSorteio.Entre(0, 9999);
  texto += QStringLiteral("INSERT INTO MVGERAL (CODEMPRESA, SERIE, NUMDOCUMENTO, DATAEMISSAO, CODCLIENTE, VALORTOTAL)"
                          "\r\nVALUES (%1, 'NFC', %2, %3, 9%4, %5);\r\n")
               .arg(Aspas(f))
               .arg(documento)
               .arg(Aspas(Sql(quando)))
               .arg(FSorteio.Entre(10000, 99999))
               .arg(Dinheiro(FSorteio.Entre(5000, 90000) / 100.0));
  for (int item = 1; item <= 32; ++item)
    texto += QStringLiteral("UPDATE ESTOQUE SET QUANTIDADE = QUANTIDADE - %1 WHERE CODEMPRESA = %2 AND "
                            "CODPRODUTO = %3;\r\n")
                 .arg(FSorteio.Entre(1, 9))
                 .arg(Aspas(f), Aspas(CodigoProduto(FSorteio.Entre(0, QtdProdutos() - 1))));
  texto += QStringLiteral("\r\nPilha de chamadas:\r\n");
  const QStringList pilha = {"TIntegracaoOffLine.ExecutarScript (uIntegracaoOffLine.pas, linha 812)",
                             "TIntegracaoOffLine.ProcessarEntrada (uIntegracaoOffLine.pas, linha 655)",
                             "TIntegracaoOffLine.ProcessarFila (uIntegracaoOffLine.pas, linha 590)",
                             "TServicoIntegracao.Ciclo (uServicoIntegracao.pas, linha 214)",
                             "TServicoIntegracao.Execute (uServicoIntegracao.pas, linha 160)"};
  for (const QString& chamada : pilha) texto += QStringLiteral("  em ") + chamada + QStringLiteral("\r\n");
  return texto;
}

// The stock reconciliation report of a batch, forty products long.
QString TextosIntegracao::DivergenciaDeEstoque(const Maquina& m, const QDateTime& quando) {
  const QString f = m.CodFilial();
  QString texto = QStringLiteral(
      "Divergências de estoque na conferência do lote %1 da filial %2, máquina %3.\r\n"
      "O lote não foi integrado. Corrija os saldos abaixo e reenvie o lote.\r\n\r\n"
      "Produto         Descrição                                    Servidor    Máquina   Diferença\r\n")
                      .arg(quando.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("03"), f, m.Ecf);
  for (int i = 0; i < 40; ++i) {
    const int p = FSorteio.Entre(0, QtdProdutos() - 1);
    const int servidor = FSorteio.Entre(0, 300);
    const int maquina = servidor + FSorteio.Entre(-12, 12);
    texto += QStringLiteral("%1   %2 %3 %4 %5\r\n")
                 .arg(CodigoProduto(p))
                 .arg(DescricaoProduto(p).left(44), -44)
                 .arg(servidor, 8)
                 .arg(maquina, 10)
                 .arg(maquina - servidor, 11);
  }
  return texto + QStringLiteral("\r\nTotal: 40 produtos com saldo divergente.");
}

// The stopped machine's attempts to reach the server, two minutes apart.
QString TextosIntegracao::FalhaDeEnvio(const Maquina& m, const QDateTime& quando) {
  const QString f = m.CodFilial();
  QString texto = QStringLiteral("Falha ao enviar o lote de registros da máquina %1 (filial %2) ao servidor central.\r\n"
                                 "Tentativas de conexão:\r\n")
                      .arg(m.Ecf, f);
  QDateTime tentativa = quando.addSecs(-25 * 120);
  for (int i = 1; i <= 25; ++i) {
    tentativa = tentativa.addSecs(120);
    texto += QStringLiteral("%1  tentativa %2 de 25: Unable to complete network request to host \"srv-aurora\".\r\n"
                            "                     Failed to establish a connection. (código 335544721)\r\n")
                 .arg(Br(tentativa))
                 .arg(i, 2);
  }
  return texto + QStringLiteral("Verifique a conexão da loja com a matriz e o serviço Firebird no servidor.");
}
