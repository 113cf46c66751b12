#include "panel/AtualizacaoPainel.h"

#include <limits>

#include "model/Catalogo.h"
#include "panel/ParametrosPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"

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
    : FTabela(tabela),
      FStatus(&conexao),
      FRegEnviar(&conexao),
      FRegFila(&conexao),
      FAlteracoes(&conexao),
      FMaquina(&conexao),
      FContagemRapida(ParametrosPainel::ContagemRapida()) {
  FStatus.SetSql(Catalogo::StatusMaquinas());
  FRegEnviar.SetSql(Catalogo::RegistrosEnviar());
  FRegFila.SetSql(Catalogo::RegistrosFila());
  FAlteracoes.SetSql(Catalogo::ContagemRapidaAlteracoes());
  FMaquina.SetSql(Catalogo::ContagemRapidaMaquina());
}

bool AtualizacaoPainel::Atualizar() {
  const Carga carga(FTabela);
  FTabela.Esvaziar();

  // Kept prepared from one refresh to the next, like the counts; its rows
  // are released when the refresh ends.
  ConsultaSql& status = FStatus;
  Fechamento fechamento(status);
  status.Abrir();
  if (status.Vazia()) return false;

  // Counted only when there are rows to count for, as the per-row way does.
  const qint64 alteracoes = FContagemRapida ? ContarAlteracoes() : 0;
  // Columns found once per refresh, not once per cell.
  const auto coluna = [&status](const char* nome) {
    const int indice = status.IndiceColuna(QLatin1String(nome));
    if (indice < 0) throw Falha(QStringLiteral("Campo '%1' não encontrado.").arg(QLatin1String(nome)));
    return indice;
  };
  const int codEmpresa = coluna("CODEMPRESA"), nome = coluna("NOME"), intervalo = coluna("INTERVALO"),
            qtdRegReceb = coluna("QTDREGRECEB"), ultReceb = coluna("ULTRECEB"), ultEnvio = coluna("ULTENVIO"),
            colMaquina = coluna("MAQUINA"), colMaquinaEcf = coluna("MAQUINAECF"), statusErro = coluna("STATUSERRO");
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
      qint32 enviar = 0, fila = 0;
      ContarRapido(alteracoes, maquina, maquinaEcf, enviar, fila);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGENVIAR, enviar);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGFILA, fila);
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

qint64 AtualizacaoPainel::ContarAlteracoes() {
  Fechamento fechamento(FAlteracoes);
  FAlteracoes.Abrir();
  if (FAlteracoes.Vazia()) return 0;
  return FAlteracoes.Valor(0, QStringLiteral("TOTAL")).AsInteger();
}

void AtualizacaoPainel::ContarRapido(qint64 alteracoes, const QString& codEmpresa, const QString& maquinaEcf,
                                     qint32& enviar, qint32& fila) {
  Fechamento fechamento(FMaquina);
  FMaquina.SetParam(QStringLiteral("MAQUINA"), SemBrancos(codEmpresa));
  FMaquina.SetParam(QStringLiteral("MAQUINAECF"), maquinaEcf);
  FMaquina.Abrir();
  if (FMaquina.Vazia()) {
    enviar = Limitado(alteracoes);
    fila = 0;
    return;
  }
  const qint64 integrados = FMaquina.Valor(0, QStringLiteral("INTEGRADOS")).AsInteger();
  const qint64 pendentes = FMaquina.Valor(0, QStringLiteral("PENDENTES")).AsInteger();
  enviar = Limitado(alteracoes - integrados + pendentes);
  fila = Limitado(FMaquina.Valor(0, QStringLiteral("FILA")).AsInteger());
}
