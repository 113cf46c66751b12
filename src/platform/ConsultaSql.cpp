#include "platform/ConsultaSql.h"

#include <cstring>

#include "platform/ConexaoBanco.h"
#include "platform/DecodificadorLinha.h"
#include "platform/FirebirdApi.h"
#include "platform/Windows1252.h"

using namespace Firebird;
using FirebirdApi::Ref;
using FirebirdApi::Status;

namespace {

// Largest text a VARCHAR parameter can carry.
constexpr unsigned kMaiorParametro = 32765;

// The statement's own transaction when no explicit one is open; committed by
// Confirmar, rolled back if the statement fails.
class TransacaoDaInstrucao {
 public:
  TransacaoDaInstrucao(ITransaction* explicita, ITransaction* propria)
      : FTransacao(explicita ? explicita : propria), FPropria(explicita == nullptr) {}
  ~TransacaoDaInstrucao() {
    if (FPropria && FTransacao) {
      try {
        Status st;
        FTransacao->rollback(&st);
      } catch (const FbException&) {
        FTransacao->release();
      }
    }
  }
  TransacaoDaInstrucao(const TransacaoDaInstrucao&) = delete;
  TransacaoDaInstrucao& operator=(const TransacaoDaInstrucao&) = delete;

  ITransaction* get() const { return FTransacao; }
  void Confirmar() {
    if (!FPropria) return;
    Status st;
    FTransacao->commit(&st);
    FTransacao = nullptr;
  }

 private:
  ITransaction* FTransacao;
  bool FPropria;
};

}  // namespace

struct ConsultaSql::Preparado {
  IStatement* Instrucao = nullptr;
  IMessageMetadata* Saida = nullptr;
  // The result's columns, read from the metadata once per prepare rather
  // than once per execution.
  DecodificadorLinha Decodificador;
  IMessageMetadata* Entrada = nullptr;  // every parameter as VARCHAR, charset NONE
  std::vector<unsigned> Larguras;
  quint64 Geracao = 0;
  bool TemCursor = false;
};

ConsultaSql::ConsultaSql(ConexaoBanco* conexao, QObject* dono) : QObject(dono) { SetConexao(conexao); }

ConsultaSql::~ConsultaSql() {
  LiberarPreparo(false);
  if (FConexao) FConexao->Desregistrar(this);
}

void ConsultaSql::SetConexao(ConexaoBanco* conexao) {
  if (conexao == FConexao) return;
  Fechar();
  LiberarPreparo(false);
  if (FConexao) FConexao->Desregistrar(this);
  FConexao = conexao;
  if (FConexao) FConexao->Registrar(this);
}

void ConsultaSql::SetSql(const QString& sql) {
  if (sql == FSql.Original() && FPreparado) return;
  Fechar();
  LiberarPreparo(false);
  FSql = SqlComParametros(sql);
  FValores.clear();
}

void ConsultaSql::SetParam(const QString& nome, const QString& valor) {
  const QString chave = nome.toUpper();
  if (!FSql.NomesPorPosicao().contains(chave))
    throw Falha(QStringLiteral("Parâmetro '%1' não encontrado.").arg(nome));
  FValores[chave] = Windows1252::deUnicode(valor);
}

void ConsultaSql::SetParamNulo(const QString& nome) {
  const QString chave = nome.toUpper();
  if (!FSql.NomesPorPosicao().contains(chave))
    throw Falha(QStringLiteral("Parâmetro '%1' não encontrado.").arg(nome));
  FValores[chave] = std::nullopt;
}

void ConsultaSql::Fechar() {
  FAtiva = false;
  FColunas.clear();
  FLinhas.clear();
}

void ConsultaSql::LiberarPreparo(bool semServidor) {
  if (!FPreparado) return;
  Preparado& p = *FPreparado;
  if (p.Entrada) p.Entrada->release();
  if (p.Saida) p.Saida->release();
  if (p.Instrucao) {
    if (semServidor) {
      p.Instrucao->release();
    } else {
      try {
        Status st;
        p.Instrucao->free(&st);
      } catch (const FbException&) {
        p.Instrucao->release();
      }
    }
  }
  FPreparado.reset();
}

void ConsultaSql::Preparar() {
  if (!FConexao) throw Falha(QStringLiteral("Consulta sem conexão com o banco de dados."));
  if (FPreparado && FPreparado->Geracao != FConexao->Geracao()) LiberarPreparo(true);
  IAttachment* anexo = FConexao->AnexoAberto();
  if (FPreparado) return;

  auto novo = std::make_unique<Preparado>();
  Status st;
  const QByteArray texto = Windows1252::deUnicode(FSql.Posicional());
  TransacaoDaInstrucao transacao(FConexao->TransacaoExplicita(),
                                 FConexao->TransacaoExplicita() ? nullptr : FConexao->NovaTransacao());
  try {
    novo->Instrucao = anexo->prepare(&st, transacao.get(), static_cast<unsigned>(texto.size()), texto.constData(),
                                     FConexao->Dialeto(), IStatement::PREPARE_PREFETCH_METADATA);
    novo->Geracao = FConexao->Geracao();
    novo->TemCursor = (novo->Instrucao->getFlags(&st) & IStatement::FLAG_HAS_CURSOR) != 0;
    novo->Saida = novo->Instrucao->getOutputMetadata(&st);
    novo->Decodificador = DecodificadorLinha(novo->Saida);
    transacao.Confirmar();
  } catch (...) {
    FPreparado = std::move(novo);
    LiberarPreparo(false);
    throw;
  }
  FConexao->ContarPreparo();
  FPreparado = std::move(novo);
}

namespace {

// Builds the input message: every parameter a nullable VARCHAR in charset
// NONE, wide enough for the values bound now. The metadata is rebuilt only
// when a value outgrows it.
void MontarEntrada(IStatement* instrucao, IMessageMetadata*& entrada, std::vector<unsigned>& larguras,
                   const std::vector<const std::optional<QByteArray>*>& valores) {
  bool refazer = entrada == nullptr;
  std::vector<unsigned> novas(valores.size());
  for (std::size_t i = 0; i < valores.size(); ++i) {
    const unsigned usado = valores[i]->has_value() ? unsigned((*valores[i])->size()) : 0;
    if (usado > kMaiorParametro)
      throw Falha(QStringLiteral("Valor de parâmetro longo demais (%1 bytes).").arg(usado));
    const unsigned atual = i < larguras.size() ? larguras[i] : 0;
    if (usado > atual || refazer) {
      refazer = true;
      unsigned largura = 64;
      while (largura < usado) largura *= 2;
      novas[i] = std::min(largura, kMaiorParametro);
    } else {
      novas[i] = atual;
    }
  }
  if (!refazer) return;
  Status st;
  Ref<IMessageMetadata> original(instrucao->getInputMetadata(&st));
  Ref<IMetadataBuilder> construtor(original->getBuilder(&st));
  for (unsigned i = 0; i < novas.size(); ++i) {
    construtor->setType(&st, i, SQL_VARYING + 1);
    construtor->setSubType(&st, i, 0);
    construtor->setScale(&st, i, 0);
    construtor->setCharSet(&st, i, 0);
    construtor->setLength(&st, i, novas[i]);
  }
  IMessageMetadata* nova = construtor->getMetadata(&st);
  if (entrada) entrada->release();
  entrada = nova;
  larguras = std::move(novas);
}

}  // namespace

IMessageMetadata* ConsultaSql::Vincular(std::vector<unsigned char>& entrada) {
  Preparado& p = *FPreparado;
  std::vector<const std::optional<QByteArray>*> valores;
  valores.reserve(FSql.NomesPorPosicao().size());
  for (const QString& nome : FSql.NomesPorPosicao()) {
    auto it = FValores.constFind(nome);
    if (it == FValores.constEnd()) throw Falha(QStringLiteral("Parâmetro '%1' sem valor.").arg(nome));
    valores.push_back(&it.value());
  }
  if (valores.empty()) return nullptr;
  MontarEntrada(p.Instrucao, p.Entrada, p.Larguras, valores);
  Status st;
  entrada.assign(p.Entrada->getMessageLength(&st), 0);
  for (unsigned i = 0; i < valores.size(); ++i) {
    auto* nulo = reinterpret_cast<short*>(&entrada[p.Entrada->getNullOffset(&st, i)]);
    unsigned char* campo = &entrada[p.Entrada->getOffset(&st, i)];
    if (!*valores[i]) {
      *nulo = -1;
      continue;
    }
    const QByteArray& bytes = **valores[i];
    *nulo = 0;
    const auto tamanho = static_cast<unsigned short>(bytes.size());
    std::memcpy(campo, &tamanho, sizeof tamanho);
    std::memcpy(campo + sizeof tamanho, bytes.constData(), tamanho);
  }
  return p.Entrada;
}

void ConsultaSql::Abrir() {
  Fechar();
  if (!FConexao) throw Falha(QStringLiteral("Consulta sem conexão com o banco de dados."));
  try {
    Preparar();
    Preparado& p = *FPreparado;

    std::vector<unsigned char> entrada;
    IMessageMetadata* entradaMeta = Vincular(entrada);

    IAttachment* anexo = FConexao->AnexoAberto();
    ITransaction* explicita = FConexao->TransacaoExplicita();
    ITransaction* propria = nullptr;
    if (!explicita)
      propria = p.TemCursor && p.Decodificador.TemBlob() ? FConexao->NovaLeituraPropria() : FConexao->NovaTransacao();
    TransacaoDaInstrucao transacao(explicita, propria);
    FConexao->ContarExecucao(FSql.Original());
    Status st;
    IMessageMetadata* meta = p.Saida;
    FColunas = p.Decodificador.Colunas();
    std::vector<unsigned char> linha(p.Decodificador.TamanhoLinha());
    auto decodificar = [&] { FLinhas.push_back(p.Decodificador.Decodificar(linha.data(), anexo, transacao.get())); };
    if (!p.TemCursor) {
      // A statement without a cursor (EXECUTE PROCEDURE, singleton) still
      // returns its one row, if it has outputs.
      p.Instrucao->execute(&st, transacao.get(), entradaMeta, entrada.empty() ? nullptr : entrada.data(), meta,
                           linha.data());
      if (!FColunas.isEmpty()) decodificar();
      transacao.Confirmar();
      FAtiva = true;
      return;
    }
    Ref<IResultSet> cursor(p.Instrucao->openCursor(&st, transacao.get(), entradaMeta,
                                                   entrada.empty() ? nullptr : entrada.data(), meta, 0));
    while (cursor->fetchNext(&st, linha.data()) == IStatus::RESULT_OK) decodificar();
    cursor->close(&st);
    (void)cursor.release();
    transacao.Confirmar();
    FAtiva = true;
  } catch (const FbException& e) {
    Fechar();
    FConexao->Relancar(e);
  } catch (...) {
    Fechar();
    throw;
  }
}

qint64 ConsultaSql::Executar() {
  Fechar();
  if (!FConexao) throw Falha(QStringLiteral("Consulta sem conexão com o banco de dados."));
  try {
    Preparar();
    Preparado& p = *FPreparado;
    std::vector<unsigned char> entrada;
    IMessageMetadata* entradaMeta = Vincular(entrada);
    Status st;
    ITransaction* explicita = FConexao->TransacaoExplicita();
    TransacaoDaInstrucao transacao(explicita, explicita ? nullptr : FConexao->NovaTransacao());
    FConexao->ContarExecucao(FSql.Original());
    p.Instrucao->execute(&st, transacao.get(), entradaMeta, entrada.empty() ? nullptr : entrada.data(), nullptr,
                         nullptr);
    const qint64 afetados = static_cast<qint64>(p.Instrucao->getAffectedRecords(&st));
    transacao.Confirmar();
    return afetados;
  } catch (const FbException& e) {
    FConexao->Relancar(e);
  }
}

int ConsultaSql::IndiceColuna(const QString& nome) const {
  const QString chave = nome.toUpper();
  for (int i = 0; i < FColunas.size(); ++i)
    if (FColunas[i] == chave) return i;
  return -1;
}

const ValorCampo& ConsultaSql::Valor(int linha, const QString& coluna) const {
  const int indice = IndiceColuna(coluna);
  if (indice < 0) throw Falha(QStringLiteral("Campo '%1' não encontrado.").arg(coluna));
  return FLinhas.at(linha).at(indice);
}

std::vector<std::vector<ValorCampo>> ConsultaSql::TomarLinhas() {
  FAtiva = false;
  return std::move(FLinhas);
}
