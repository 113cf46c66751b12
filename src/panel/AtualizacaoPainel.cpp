#include "panel/AtualizacaoPainel.h"

#include <limits>

#include "model/Catalogo.h"
#include "panel/ParametrosPainel.h"
#include "panel/TabelaStatus.h"
#include "platform/ConexaoBanco.h"

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

}  // namespace

AtualizacaoPainel::AtualizacaoPainel(ConexaoBanco& conexao, TabelaStatus& tabela)
    : FConexao(conexao),
      FTabela(tabela),
      FRegEnviar(&conexao),
      FRegFila(&conexao),
      FAlteracoes(&conexao),
      FMaquina(&conexao),
      FContagemRapida(ParametrosPainel::ContagemRapida()) {
  FRegEnviar.SetSql(Catalogo::RegistrosEnviar());
  FRegFila.SetSql(Catalogo::RegistrosFila());
  FAlteracoes.SetSql(Catalogo::ContagemRapidaAlteracoes());
  FMaquina.SetSql(Catalogo::ContagemRapidaMaquina());
}

bool AtualizacaoPainel::Atualizar() {
  FTabela.Esvaziar();

  ConsultaSql status(&FConexao);
  status.SetSql(Catalogo::StatusMaquinas());
  status.Abrir();
  if (status.Vazia()) return false;

  // Counted only when there are rows to count for, as the per-row way does.
  const qint64 alteracoes = FContagemRapida ? ContarAlteracoes() : 0;
  for (int i = 0; i < status.QtdLinhas(); ++i) {
    const int linha = FTabela.Acrescentar();
    FTabela.SetTexto(linha, CampoStatus::CODEMPRESA, status.Valor(i, QStringLiteral("CODEMPRESA")).AsString());
    FTabela.SetTexto(linha, CampoStatus::NOME, status.Valor(i, QStringLiteral("NOME")).AsString());
    FTabela.SetTexto(linha, CampoStatus::INTERVALO, status.Valor(i, QStringLiteral("INTERVALO")).AsString());
    FTabela.SetInteiro(linha, CampoStatus::QTDREGRECEB,
                       Limitado(status.Valor(i, QStringLiteral("QTDREGRECEB")).AsInteger()));
    FTabela.SetDataHora(linha, CampoStatus::ULTRECEB, status.Valor(i, QStringLiteral("ULTRECEB")).AsDateTime());
    FTabela.SetDataHora(linha, CampoStatus::ULTENVIO, status.Valor(i, QStringLiteral("ULTENVIO")).AsDateTime());

    const QString maquina = status.Valor(i, QStringLiteral("MAQUINA")).AsString();
    const QString maquinaEcf = status.Valor(i, QStringLiteral("MAQUINAECF")).AsString();
    if (FContagemRapida) {
      qint32 enviar = 0, fila = 0;
      ContarRapido(alteracoes, maquina, maquinaEcf, enviar, fila);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGENVIAR, enviar);
      FTabela.SetInteiro(linha, CampoStatus::QTDREGFILA, fila);
    } else {
      FTabela.SetInteiro(linha, CampoStatus::QTDREGENVIAR, ContarRegEnviar(maquina, maquinaEcf));
      FTabela.SetInteiro(linha, CampoStatus::QTDREGFILA, ContarRegFila(maquina, maquinaEcf));
    }

    FTabela.SetTexto(linha, CampoStatus::STATUSERRO, status.Valor(i, QStringLiteral("STATUSERRO")).AsString());
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
