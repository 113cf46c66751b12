#include "Demo.h"

#include <iterator>

#include "ErpDemo.h"
#include "LogServico.h"

void Demo::Gerar() {
  GerarCadastros();
  GerarAlteracoes();
  GerarEstadoMaquinas();
  GerarFila();
  GerarErros();
  FConteudo.Log = GerarLogServico(FConteudo, FSorteio);
}

// What the ERP held before the log starts: the catalogue, the customers,
// the salespeople and the stock of the branches.
void Demo::GerarCadastros() {
  const int qtdProdutos = QtdProdutos();
  for (int i = 0; i < qtdProdutos * 5 / 6; ++i) {
    const TipoProduto& tipo = TipoDoProduto(i);
    const int marca = i / int(kTiposProduto.size());
    Guardar(QStringLiteral("PRODUTOS"),
            {CodigoProduto(i), DescricaoProduto(i), tipo.Unidade, Dinheiro(tipo.Preco * (0.9 + marca * 0.015))}, 1);
    for (const QString& filial : kCodigosFiliais)
      if (FSorteio.Chance(80))
        Guardar(QStringLiteral("ESTOQUE"), {filial, CodigoProduto(i), QString::number(FSorteio.Entre(0, 240))}, 2);
  }
  for (int i = 0; i < 480; ++i) NovoCliente();
  for (int i = 1; i <= 16; ++i)
    Guardar(QStringLiteral("VENDEDORES"),
            {QString::number(i), NomePessoa(FSorteio, 1), QStringLiteral("1.50")}, 1);
  for (const QString& filial : kCodigosFiliais) FProximoDocumento[filial] = 10000 + filial.toInt() * 1000;
}

QString Demo::NovoCliente() {
  const QString nome = NomePessoa(FSorteio, 2);
  const QString codigo = QString::number(++FProximoCliente);
  Guardar(QStringLiteral("CLIENTES"), {codigo, nome, FSorteio.Um(kCidades), QStringLiteral("SP")}, 1);
  return codigo;
}

void Demo::Registrar(const QString& acao, const QString& tabela, const QStringList& chaves, const QDateTime& quando) {
  Alteracao a;
  a.Ordem = int(FConteudo.Alteracoes.size()) + 1;
  a.Acao = acao;
  a.Tabela = tabela;
  a.Chaves = chaves;
  // Price lists and notices of the head office are not for the machines.
  a.Inclui = FSorteio.Chance(4) ? QStringLiteral("N") : QStringLiteral("S");
  a.DataHora = quando;
  FConteudo.Alteracoes << a;
}


// The general change log: kQtdAlteracoes changes over the eight days before
// kInstante, each one applied to the ERP rows it names.
void Demo::GerarAlteracoes() {
  QList<int> intervalos;
  int total = 0;
  for (int i = 0; i < kQtdAlteracoes; ++i) {
    intervalos << FSorteio.Entre(60, 400);
    total += intervalos.last();
  }
  QDateTime quando = kInstante.addSecs(-total - 20);
  for (int i = 0; i < kQtdAlteracoes; ++i) {
    quando = quando.addSecs(intervalos[i]);
    const int sorteio = FSorteio.Entre(1, 100);
    const QString filial = FSorteio.Um(kCodigosFiliais);
    if (sorteio <= 22) AlterarProduto(quando);
    else if (sorteio <= 47) AlterarEstoque(filial, quando);
    else if (sorteio <= 58) AlterarCliente(quando);
    else if (sorteio <= 60) AlterarVendedor(quando);
    else if (sorteio <= 80) AlterarVenda(filial, quando);
    else if (sorteio <= 86) IncluirTransferencia(filial, quando);
    else if (sorteio <= 89) ReceberTransferencia(quando);
    else if (sorteio <= 97) IncluirTransferenciaAntiga(filial, quando);
    else IncluirAviso(filial, quando);
  }
}

void Demo::AlterarProduto(const QDateTime& quando) {
  const int p = FSorteio.Entre(0, QtdProdutos() - 1);
  const QString codigo = CodigoProduto(p);
  const TipoProduto& tipo = TipoDoProduto(p);
  QStringList linha = {codigo, DescricaoProduto(p), tipo.Unidade,
                       Dinheiro(tipo.Preco * (0.85 + FSorteio.Entre(0, 30) / 100.0))};
  if (!Existe(QStringLiteral("PRODUTOS"), {codigo})) {
    Guardar(QStringLiteral("PRODUTOS"), linha, 1);
    Registrar(QStringLiteral("I"), QStringLiteral("PRODUTOS"), {codigo}, quando);
  } else if (FSorteio.Chance(3)) {
    Tabela(QStringLiteral("PRODUTOS")).PorChave.remove(codigo);
    Registrar(QStringLiteral("E"), QStringLiteral("PRODUTOS"), {codigo}, quando);
  } else {
    Guardar(QStringLiteral("PRODUTOS"), linha, 1);
    Registrar(QStringLiteral("A"), QStringLiteral("PRODUTOS"), {codigo}, quando);
  }
}

void Demo::AlterarEstoque(const QString& filial, const QDateTime& quando) {
  const QString codigo = CodigoProduto(FSorteio.Entre(0, QtdProdutos() - 1));
  const QStringList chave = {filial, codigo};
  const QString acao = Existe(QStringLiteral("ESTOQUE"), chave) ? QStringLiteral("A") : QStringLiteral("I");
  Guardar(QStringLiteral("ESTOQUE"), chave + QStringList{QString::number(FSorteio.Entre(0, 300))}, 2);
  Registrar(acao, QStringLiteral("ESTOQUE"), chave, quando);
}

void Demo::AlterarCliente(const QDateTime& quando) {
  if (FSorteio.Chance(35)) {
    Registrar(QStringLiteral("I"), QStringLiteral("CLIENTES"), {NovoCliente()}, quando);
  } else {
    const QString codigo = QString::number(FSorteio.Entre(1, FProximoCliente));
    if (!Existe(QStringLiteral("CLIENTES"), {codigo})) return;
    if (FSorteio.Chance(4)) {
      Tabela(QStringLiteral("CLIENTES")).PorChave.remove(codigo);
      Registrar(QStringLiteral("E"), QStringLiteral("CLIENTES"), {codigo}, quando);
    } else {
      Tabela(QStringLiteral("CLIENTES")).PorChave[codigo][2] = FSorteio.Um(kCidades);
      Registrar(QStringLiteral("A"), QStringLiteral("CLIENTES"), {codigo}, quando);
    }
  }
}

void Demo::AlterarVendedor(const QDateTime& quando) {
  const QString codigo = QString::number(FSorteio.Entre(1, 16));
  Tabela(QStringLiteral("VENDEDORES")).PorChave[codigo][2] = Dinheiro(FSorteio.Entre(100, 300) / 100.0);
  Registrar(QStringLiteral("A"), QStringLiteral("VENDEDORES"), {codigo}, quando);
}

// A sale of the branch; now and then a recent one is changed or cancelled.
void Demo::AlterarVenda(const QString& filial, const QDateTime& quando) {
  const int ultimo = FProximoDocumento[filial];
  const int numero = FSorteio.Chance(70) ? ++FProximoDocumento[filial] : FSorteio.Entre(ultimo - 20, ultimo);
  const QStringList chave = {filial, QStringLiteral("NFC"), QString::number(numero)};
  if (!Existe(QStringLiteral("MVGERAL"), chave)) {
    if (numero <= ultimo) return;
    Guardar(QStringLiteral("MVGERAL"),
            chave + QStringList{Sql(quando), QString::number(FSorteio.Entre(1, FProximoCliente)),
                                Dinheiro(FSorteio.Entre(500, 60000) / 100.0)},
            3);
    Registrar(QStringLiteral("I"), QStringLiteral("MVGERAL"), chave, quando);
  } else if (FSorteio.Chance(25)) {
    Tabela(QStringLiteral("MVGERAL")).PorChave.remove(ChaveTexto(chave));
    Registrar(QStringLiteral("E"), QStringLiteral("MVGERAL"), chave, quando);
  } else {
    Registrar(QStringLiteral("A"), QStringLiteral("MVGERAL"), chave, quando);
  }
}

void Demo::IncluirTransferencia(const QString& filial, const QDateTime& quando) {
  QString destino = FSorteio.Um(kCodigosFiliais);
  if (destino == filial) destino = filial == QLatin1String("05") ? QStringLiteral("01") : QStringLiteral("05");
  const int numero = ++FProximaTransferencia[QStringLiteral("T") + filial];
  const QStringList chave = {filial, QStringLiteral("TR"), QString::number(numero), destino};
  Guardar(QStringLiteral("TRANSFESTOQUE"), chave + QStringList{Sql(quando), QStringLiteral("EM TRÂNSITO")}, 4);
  Registrar(QStringLiteral("I"), QStringLiteral("TRANSFESTOQUE"), chave, quando);
}

// Transfers arrive: their situation changes at the destination.
void Demo::ReceberTransferencia(const QDateTime& quando) {
  auto& linhas = Tabela(QStringLiteral("TRANSFESTOQUE")).PorChave;
  if (linhas.isEmpty()) return;
  auto it = std::next(linhas.begin(), FSorteio.Entre(0, int(linhas.size()) - 1));
  const bool cancelar = FSorteio.Chance(10);
  const QStringList chave = it.value().mid(0, 4);
  if (cancelar) linhas.erase(it);
  else it.value()[5] = QStringLiteral("RECEBIDA");
  Registrar(cancelar ? QStringLiteral("E") : QStringLiteral("A"), QStringLiteral("TRANSFESTOQUE"), chave, quando);
}

// The old transfer module: a header, its items, and deletions.
void Demo::IncluirTransferenciaAntiga(const QString& filial, const QDateTime& quando) {
  const QStringList cabecalho = {filial, QString::number(++FProximaTransferencia[QStringLiteral("O") + filial])};
  Guardar(QStringLiteral("TRANSF_ESTOQUE"),
          cabecalho + QStringList{Sql(quando), QStringLiteral("Reposição semanal da loja")}, 2);
  Registrar(QStringLiteral("I"), QStringLiteral("TRANSF_ESTOQUE"), cabecalho, quando);
  const int itens = FSorteio.Entre(1, 3);
  for (int item = 1; item <= itens; ++item) {
    const QStringList chave = cabecalho + QStringList{QString::number(item)};
    Guardar(QStringLiteral("TRANSF_ESTOQUE_ITENS"),
            chave + QStringList{CodigoProduto(FSorteio.Entre(0, QtdProdutos() - 1)), QString::number(FSorteio.Entre(1, 48))},
            3);
    Registrar(QStringLiteral("I"), QStringLiteral("TRANSF_ESTOQUE_ITENS"), chave, quando);
  }
  if (FSorteio.Chance(30)) {
    const QStringList chave = cabecalho + QStringList{QString::number(itens)};
    Tabela(QStringLiteral("TRANSF_ESTOQUE_ITENS")).PorChave.remove(ChaveTexto(chave));
    Registrar(QStringLiteral("E"), QStringLiteral("TRANSF_ESTOQUE_ITENS"), chave, quando);
  }
}

// Notices to the cashiers: a table without a primary key.
void Demo::IncluirAviso(const QString& filial, const QDateTime& quando) {
  static const QStringList avisos = {
      "Promoção de hortifrúti válida até domingo.", "Conferir troco inicial antes da abertura do caixa.",
      "Não aceitar cheques de outras praças.", "Atualização de preços às 14h: aguarde a carga."};
  Tabela(QStringLiteral("AVISOSCAIXA")).SemChave << QStringList{filial, FSorteio.Um(avisos), Sql(quando)};
  Registrar(QStringLiteral("I"), QStringLiteral("AVISOSCAIXA"), {}, quando);
}

// Where each machine stands in the log.
void Demo::GerarEstadoMaquinas() {
  const QList<Alteracao>& alteracoes = FConteudo.Alteracoes;
  const int n = int(alteracoes.size());
  for (const Maquina& m : kMaquinas) {
    QDateTime receb, envio;
    if (m.MinutosReceb != kNunca) receb = kInstante.addSecs(-m.MinutosReceb * 60 - FSorteio.Entre(0, 59));
    if (m.MinutosEnvio == kMeiaNoite) envio = QDateTime(kInstante.date(), QTime(0, 0));
    else if (m.MinutosEnvio != kNunca) envio = kInstante.addSecs(-m.MinutosEnvio * 60 - FSorteio.Entre(0, 59));
    int ult = 0;
    if (m.Atraso == kPeloTempo) {
      while (ult < n && alteracoes[ult].DataHora <= receb) ++ult;
    } else if (m.Atraso != kNunca) {
      ult = n - m.Atraso;
    }
    int aReceber = 0;
    for (int i = ult; i < n; ++i)
      if (Relevante(alteracoes[i], m.CodFilial())) ++aReceber;
    FConteudo.Estados << EstadoMaquina{receb, envio, ult, m.Atraso == kNunca ? -1 : aReceber};
  }
}

// The entries each machine sent: the newest still pending, some that ended
// in error, the rest executed. Two carry codes the panel has no label for.
void Demo::GerarFila() {
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    QDateTime quando = FConteudo.Estados[i].UltEnvio.isValid() ? FConteudo.Estados[i].UltEnvio : kInstante;
    for (int k = 0; k < m.Fila; ++k) {
      EntradaFila e;
      e.Maquina = i;
      e.IdOrigem = 7000 + 1000 * i + m.Fila - k;
      const int tipo = FSorteio.Entre(1, 100);
      if (tipo <= 45) e.Acao = QStringLiteral("I"), e.Tabela = QStringLiteral("MVGERAL");
      else if (tipo <= 65) e.Acao = QStringLiteral("A"), e.Tabela = QStringLiteral("ESTOQUE");
      else if (tipo <= 75) e.Acao = QStringLiteral("I"), e.Tabela = QStringLiteral("CLIENTES");
      else if (tipo <= 83) e.Acao = QStringLiteral("A"), e.Tabela = QStringLiteral("CLIENTES");
      else if (tipo <= 93) e.Acao = QStringLiteral("E"), e.Tabela = QStringLiteral("MVGERAL");
      else e.Acao = QStringLiteral("P"), e.Tabela = QStringLiteral("CAIXA");
      if (k < m.FilaPendentes) e.Status = 0;
      else if (k < m.FilaPendentes + m.FilaErros) e.Status = 3;
      else e.Status = FSorteio.Chance(70) ? 2 : 1;
      e.Inclusao = quando;
      e.Script = FTextos.ScriptFila(m, e.Acao, e.Tabela, quando, FProximoCliente);
      if (e.Status != 0) e.Execucao = quando.addSecs(FSorteio.Entre(2, 90));
      FConteudo.Fila << e;
      quando = quando.addSecs(-FSorteio.Entre(4 * 60, 40 * 60));
    }
  }
  // Codes outside the panel's lists: an entry waiting for review (status 4)
  // and a cancellation sent by a newer version of the machine's program.
  FConteudo.Fila[3].Status = 4;
  FConteudo.Fila[3].Execucao = QDateTime();
  FConteudo.Fila[FConteudo.Fila.size() / 2].Acao = QStringLiteral("C");
  FConteudo.Fila[FConteudo.Fila.size() / 2].Status = 9;
  FConteudo.Fila[FConteudo.Fila.size() / 2].Execucao = QDateTime();
}

// Open errors are recent; the acknowledged ones are older. Kinds go round so
// that long and short texts are both open and both acknowledged.
void Demo::GerarErros() {
  int tipo = 0;
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    const QDateTime referencia = FConteudo.Estados[i].UltReceb.isValid() ? FConteudo.Estados[i].UltReceb : kInstante;
    int id = 0;
    for (int k = 0; k < m.ErrosConferidos; ++k) {
      const QDateTime quando = referencia.addSecs(-FSorteio.Entre(2 * 86400, 6 * 86400));
      FConteudo.Erros << Erro{i, ++id, quando, FTextos.TextoErro(tipo++ % 7, m, quando), QStringLiteral("S")};
    }
    for (int k = 0; k < m.ErrosAbertos; ++k) {
      const QDateTime quando = referencia.addSecs(-FSorteio.Entre(60, 5 * 3600));
      // The stopped machine's last word: it could not reach the server.
      const int qual = m.Atraso == kPeloTempo ? 4 : tipo++ % 7;
      FConteudo.Erros << Erro{i, ++id, quando, FTextos.TextoErro(qual, m, quando), QStringLiteral("N")};
    }
  }
  // An acknowledged error without text (nothing opens on a double click),
  // and one whose flag was never set (neither open nor acknowledged).
  FConteudo.Erros << Erro{4, 3, kInstante.addDays(-4), QString(), QStringLiteral("S")};
  FConteudo.Erros << Erro{9, 4, kInstante.addDays(-1), FTextos.TextoErro(1, kMaquinas[9], kInstante.addDays(-1)), QString()};
}
