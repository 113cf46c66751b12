#include "GravacaoDemo.h"

#include <algorithm>

#include "ErpDemo.h"
#include "Insercao.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"

namespace {

QString Inteiro(int valor) { return QString::number(valor); }
QString DataOuNulo(const QDateTime& valor) { return valor.isValid() ? Sql(valor) : QString(); }

void Executar(ConexaoBanco& conexao, const QString& sql, const QStringList& nomes = {},
              const QStringList& valores = {}) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(sql);
  for (int i = 0; i < nomes.size(); ++i) consulta.SetParam(nomes[i], valores[i]);
  consulta.Executar();
}

}  // namespace

void GravacaoDemo::Gravar() {
  FConexao.IniciarTransacao();
  GravarCadastros();
  FConexao.ConfirmarTransacao();

  FConexao.IniciarTransacao();
  GravarAlteracoes();
  FConexao.ConfirmarTransacao();

  FConexao.IniciarTransacao();
  GravarMaquinas();
  GravarFila();
  GravarErros();
  FConexao.ConfirmarTransacao();
}

void GravacaoDemo::GravarCadastros() {
  Insercao filiais(FConexao, QStringLiteral("FILIAIS"), {"CODEMPRESA", "NOMEEMPRESA", "CNPJ"});
  for (const Filial& f : kFiliais) filiais.Executar({f.Codigo, f.Nome, f.Cnpj});
  Insercao paradiv(FConexao, QStringLiteral("PARADIV"), {"ID_DESCRICAO", "CAMPOINTEGER", "CAMPOTEXTO"});
  paradiv.Executar({"TEMPOATUALIZACAOPAINEL", "15", "Intervalo de atualização do painel (segundos)"});
  paradiv.Executar({"DIASMANTERFILAINTEG", "30", "Dias que a fila de integração é mantida"});
  paradiv.Executar({"QTDREGLOTEINTEG", "500", "Registros por lote enviado às máquinas"});
  Insercao paraweb(FConexao, QStringLiteral("PARAWEB"), {"UTILIZAINTEGWEBSERVICE"});
  paraweb.Executar({"S"});

  for (const TabelaErp& t : kTabelasErp) {
    QStringList colunas;
    for (const Coluna& c : t.Colunas) colunas << c.Nome;
    Insercao insercao(FConexao, t.Nome, colunas);
    const LinhasTabela& linhas = FConteudo.Tabelas.value(t.Nome);
    for (const QStringList& l : linhas.PorChave) insercao.Executar(l);
    for (const QStringList& l : linhas.SemChave) insercao.Executar(l);
  }
}

void GravacaoDemo::GravarAlteracoes() {
  QStringList colunas = {"ORDEM", "ACAO", "TABELA"};
  for (int i = 0; i < 10; ++i) colunas << QStringLiteral("CHAVE%1").arg(i);
  colunas << QStringLiteral("INCINTEGMAQUINA") << QStringLiteral("DATAHORA");
  Insercao log(FConexao, QStringLiteral("MVINTEGGERAL"), colunas);
  for (const Alteracao& a : FConteudo.Alteracoes) {
    QStringList valores = {Inteiro(a.Ordem), a.Acao, a.Tabela};
    for (int i = 0; i < 10; ++i) valores << (i < a.Chaves.size() ? a.Chaves[i] : QString());
    valores << a.Inclui << Sql(a.DataHora);
    log.Executar(valores);
  }
}

void GravacaoDemo::GravarMaquinas() {
  Insercao maquinas(FConexao, QStringLiteral("IGFMAQUINA"),
                    {"MAQUINA", "MAQUINAECF", "INTERVALO", "QTDREGRECEB", "ULTRECEB", "ULTENVIO", "ULTIDSERVER"});
  Insercao entregas(FConexao, QStringLiteral("INTEGMAQUINA"), {"MAQUINA", "MAQUINAECF", "ORDEM", "ATUALIZOU"});
  for (int i = 0; i < kMaquinas.size(); ++i) {
    const Maquina& m = kMaquinas[i];
    const EstadoMaquina& estado = FConteudo.Estados[i];
    maquinas.Executar({m.Filial, m.Ecf, m.Intervalo, estado.QtdRegReceb < 0 ? QString() : Inteiro(estado.QtdRegReceb),
                       DataOuNulo(estado.UltReceb), DataOuNulo(estado.UltEnvio),
                       m.Atraso == kNunca ? QString() : Inteiro(estado.UltIdServer)});
    if (m.Atraso != kNunca) GravarEntregas(i, entregas);
  }
}

// Everything up to the last received change is integrated; of it, the
// latest forty changes for the branch are on the delivery list as
// delivered, and the first ones after it wait there for delivery.
void GravacaoDemo::GravarEntregas(int maquina, Insercao& entregas) {
  const Maquina& m = kMaquinas[maquina];
  const QList<Alteracao>& alteracoes = FConteudo.Alteracoes;
  const int ult = FConteudo.Estados[maquina].UltIdServer;
  Executar(FConexao,
           QStringLiteral("INSERT INTO REGISTROSINTEGRADOS (MAQUINA, MAQUINAECF, ORDEM) SELECT CAST(:MAQUINA AS "
                          "VARCHAR(3)), CAST(:MAQUINAECF AS VARCHAR(10)), ORDEM FROM MVINTEGGERAL WHERE ORDEM <= "
                          ":ULTIMA"),
           {"MAQUINA", "MAQUINAECF", "ULTIMA"}, {m.CodFilial(), m.Ecf, Inteiro(ult)});
  QList<int> entregues;
  for (int o = ult - 1; o >= 0 && entregues.size() < 40; --o)
    if (Relevante(alteracoes[o], m.CodFilial())) entregues.prepend(alteracoes[o].Ordem);
  for (int ordem : entregues) entregas.Executar({m.CodFilial(), m.Ecf, Inteiro(ordem), "S"});
  int pendentes = 0;
  for (int o = ult; o < alteracoes.size() && pendentes < m.EntregasPendentes; ++o)
    if (Relevante(alteracoes[o], m.CodFilial())) {
      entregas.Executar({m.CodFilial(), m.Ecf, Inteiro(alteracoes[o].Ordem), "N"});
      ++pendentes;
    }
}

// Queue IDs are given centrally in order of arrival.
void GravacaoDemo::GravarFila() {
  const QList<EntradaFila>& fila = FConteudo.Fila;
  QList<int> ordem(fila.size());
  for (int i = 0; i < ordem.size(); ++i) ordem[i] = i;
  std::stable_sort(ordem.begin(), ordem.end(), [&fila](int a, int b) { return fila[a].Inclusao < fila[b].Inclusao; });
  Insercao insercao(FConexao, QStringLiteral("FILAINTEGOFFLINE"),
                    {"ID", "ID_ORIGEM", "CODEMPRESA", "MAQUINA", "ACAO", "STATUS", "TABELA", "SCRIPT",
                     "DATA_INCLUSAO", "DATA_EXECUCAO"});
  int id = 48200;
  for (int i : ordem) {
    const EntradaFila& e = fila[i];
    const Maquina& m = kMaquinas[e.Maquina];
    insercao.Executar({Inteiro(++id), Inteiro(e.IdOrigem), m.CodFilial(), m.Ecf, e.Acao, Inteiro(e.Status), e.Tabela,
                       e.Script, Sql(e.Inclusao), DataOuNulo(e.Execucao)});
  }
}

void GravacaoDemo::GravarErros() {
  Insercao erros(FConexao, QStringLiteral("INTEGERRO"),
                 {"CODEMPRESA", "MAQUINAECF", "IDINTEGERRO", "DATAERRO", "MSGERRO", "CONFERIDO"});
  for (const Erro& e : FConteudo.Erros)
    erros.Executar({kMaquinas[e.Maquina].CodFilial(), kMaquinas[e.Maquina].Ecf, Inteiro(e.Id), Sql(e.Data), e.Mensagem,
                    e.Conferido});
}
