#include "panel/AtualizacaoPainel.h"

#include <limits>
#include <optional>

#include "model/Catalogo.h"
#include "panel/ParametrosPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"
#include "platform/LeituraInstantanea.h"

namespace {

// The table's counts are 32-bit; a total beyond that is shown at the limit
// rather than wrapped into a negative number.
qint32 Limitado(qint64 valor) {
  if (valor > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
  if (valor < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
  return static_cast<qint32>(valor);
}

// Blanks and control characters at both ends go, as the platform's Trim
// does; other spaces (a no-break space) are part of the code.
QString SemBrancos(const QString& texto) {
  qsizetype inicio = 0, fim = texto.size();
  while (inicio < fim && texto.at(inicio).unicode() <= u' ') ++inicio;
  while (fim > inicio && texto.at(fim - 1).unicode() <= u' ') --fim;
  return texto.mid(inicio, fim - inicio);
}

// Blanks alone at both ends go, as the server's TRIM removes them.
QString SemEspacos(const QString& texto) {
  qsizetype inicio = 0, fim = texto.size();
  while (inicio < fim && texto.at(inicio) == u' ') ++inicio;
  while (fim > inicio && texto.at(fim - 1) == u' ') --fim;
  return texto.mid(inicio, fim - inicio);
}

// A column of the result, found once per refresh, not once per cell.
int Coluna(const ConsultaSql& consulta, const char* nome) {
  const int indice = consulta.IndiceColuna(QLatin1String(nome));
  if (indice < 0) throw Falha(QStringLiteral("Campo '%1' não encontrado.").arg(QLatin1String(nome)));
  return indice;
}

// Releases the query's rows however the refresh ends.
class Fechamento {
 public:
  explicit Fechamento(ConsultaSql& consulta) : FConsulta(consulta) {}
  ~Fechamento() { FConsulta.Fechar(); }
  Fechamento(const Fechamento&) = delete;
  Fechamento& operator=(const Fechamento&) = delete;

 private:
  ConsultaSql& FConsulta;
};

// One model reset per refresh, however it ends: the grid sees the rows
// stored until then in one go.
class Carga {
 public:
  explicit Carga(TabelaStatus& tabela) : FTabela(tabela) { FTabela.IniciarCarga(); }
  ~Carga() { FTabela.ConcluirCarga(); }
  Carga(const Carga&) = delete;
  Carga& operator=(const Carga&) = delete;

 private:
  TabelaStatus& FTabela;
};

}  // namespace

AtualizacaoPainel::AtualizacaoPainel(ConexaoBanco& conexao, TabelaStatus& tabela)
    : FConexao(conexao),
      FTabela(tabela),
      FStatus(&conexao),
      FRegEnviar(&conexao),
      FRegFila(&conexao),
      FAlteracoes(&conexao),
      FMaquinas(&conexao),
      FContagemRapida(ParametrosPainel::ContagemRapida()) {
  FStatus.SetSql(Catalogo::StatusMaquinas());
  FRegEnviar.SetSql(Catalogo::RegistrosEnviar());
  FRegFila.SetSql(Catalogo::RegistrosFila());
  FAlteracoes.SetSql(Catalogo::ContagemRapidaAlteracoes());
  FMaquinas.SetSql(Catalogo::ContagemRapidaMaquinas());
}

bool AtualizacaoPainel::Atualizar() {
  const Carga carga(FTabela);
  FTabela.Esvaziar();
  // The fast counts subtract numbers read by different statements: they must
  // all see one instant, the status rows included.
  std::optional<LeituraInstantanea> instante;
  if (FContagemRapida) instante.emplace(FConexao);

  // Kept prepared from one refresh to the next, like the counts; its rows
  // are released when the refresh ends.
  ConsultaSql& status = FStatus;
  Fechamento fechamento(status);
  status.Abrir();
  if (status.Vazia()) return false;

  // Counted only when there are rows to count for, as the per-row way does.
  QHash<ChaveMaquina, Contagem> contagens;
  if (FContagemRapida) contagens = ContarRapido();
  const int codEmpresa = Coluna(status, "CODEMPRESA"), nome = Coluna(status, "NOME"),
            intervalo = Coluna(status, "INTERVALO"), qtdRegReceb = Coluna(status, "QTDREGRECEB"),
            ultReceb = Coluna(status, "ULTRECEB"), ultEnvio = Coluna(status, "ULTENVIO"),
            colMaquina = Coluna(status, "MAQUINA"), colMaquinaEcf = Coluna(status, "MAQUINAECF"),
            statusErro = Coluna(status, "STATUSERRO");
  for (int i = 0; i < status.QtdLinhas(); ++i) {
    const int linha = FTabela.Acrescentar();
    FTabela.SetTexto(linha, CampoStatus::CODEMPRESA, status.Valor(i, codEmpresa).AsString());
    FTabela.SetTexto(linha, CampoStatus::NOME, status.Valor(i, nome).AsString());
    FTabela.SetTexto(linha, CampoStatus::INTERVALO, status.Valor(i, intervalo).AsString());
    FTabela.SetInteiro(linha, CampoStatus::QTDREGRECEB, Limitado(status.Valor(i, qtdRegReceb).AsInteger()));
    FTabela.SetDataHora(linha, CampoStatus::ULTRECEB, status.Valor(i, ultReceb).AsDateTime());
    FTabela.SetDataHora(linha, CampoStatus::ULTENVIO, status.Valor(i, ultEnvio).AsDateTime());

    const QString maquina = status.Valor(i, colMaquina).AsString();
    const QString maquinaEcf = status.Valor(i, colMaquinaEcf).AsString();
    if (FContagemRapida) {
      const Contagem contagem = ContagemDaLinha(contagens, maquina, maquinaEcf);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGENVIAR, contagem.Enviar);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGFILA, contagem.Fila);
    } else {
      FTabela.SetInteiro(linha, CampoStatus::QTDREGENVIAR, ContarRegEnviar(maquina, maquinaEcf));
      FTabela.SetInteiro(linha, CampoStatus::QTDREGFILA, ContarRegFila(maquina, maquinaEcf));
    }

    FTabela.SetTexto(linha, CampoStatus::STATUSERRO, status.Valor(i, statusErro).AsString());
    FTabela.SetTexto(linha, CampoStatus::MAQUINAECF, maquinaEcf);
  }
  return true;
}

qint32 AtualizacaoPainel::ContarRegEnviar(const QString& codEmpresa, const QString& maquinaEcf) {
  return Contar(FRegEnviar, QStringLiteral("MAQUINA"), QStringLiteral("MAQUINAECF"), codEmpresa, maquinaEcf);
}

qint32 AtualizacaoPainel::ContarRegFila(const QString& codEmpresa, const QString& maquinaEcf) {
  return Contar(FRegFila, QStringLiteral("pCodEmpresa"), QStringLiteral("pMaqECF"), codEmpresa, maquinaEcf);
}

qint32 AtualizacaoPainel::Contar(ConsultaSql& consulta, const QString& nomeEmpresa, const QString& nomeMaquina,
                                 const QString& codEmpresa, const QString& maquinaEcf) {
  Fechamento fechamento(consulta);
  consulta.SetParam(nomeEmpresa, SemBrancos(codEmpresa));
  consulta.SetParam(nomeMaquina, maquinaEcf);
  consulta.Abrir();
  if (consulta.Vazia()) return 0;
  return Limitado(consulta.Valor(0, QStringLiteral("TOTAL")).AsInteger());
}

QHash<AtualizacaoPainel::ChaveMaquina, AtualizacaoPainel::Contagem> AtualizacaoPainel::ContarRapido() {
  qint64 alteracoes = 0;
  {
    Fechamento fechamento(FAlteracoes);
    FAlteracoes.Abrir();
    if (!FAlteracoes.Vazia()) alteracoes = FAlteracoes.Valor(0, QStringLiteral("TOTAL")).AsInteger();
  }
  Fechamento fechamento(FMaquinas);
  FMaquinas.Abrir();
  const int maquina = Coluna(FMaquinas, "MAQUINA"), maquinaEcf = Coluna(FMaquinas, "MAQUINAECF"),
            integrados = Coluna(FMaquinas, "INTEGRADOS"), pendentes = Coluna(FMaquinas, "PENDENTES"),
            fila = Coluna(FMaquinas, "FILA");
  QHash<ChaveMaquina, Contagem> contagens;
  contagens.reserve(FMaquinas.QtdLinhas());
  for (int i = 0; i < FMaquinas.QtdLinhas(); ++i) {
    // The integrated changes are among those counted, in the same snapshot:
    // the difference is never negative.
    const qint64 enviar = alteracoes - FMaquinas.Valor(i, integrados).AsInteger() +
                          FMaquinas.Valor(i, pendentes).AsInteger();
    contagens.insert({FMaquinas.Valor(i, maquina).AsString(), FMaquinas.Valor(i, maquinaEcf).AsString()},
                     {Limitado(enviar), Limitado(FMaquinas.Valor(i, fila).AsInteger())});
  }
  return contagens;
}

AtualizacaoPainel::Contagem AtualizacaoPainel::ContagemDaLinha(const QHash<ChaveMaquina, Contagem>& contagens,
                                                               const QString& maquina, const QString& maquinaEcf) {
  // A control character at an end of the branch code: the per-machine way
  // trims it, the server's TRIM would not.
  if (SemBrancos(maquina) == SemEspacos(maquina)) {
    const auto contagem = contagens.constFind({maquina, maquinaEcf});
    if (contagem != contagens.constEnd()) return *contagem;
  }
  return {ContarRegEnviar(maquina, maquinaEcf), ContarRegFila(maquina, maquinaEcf)};
}
