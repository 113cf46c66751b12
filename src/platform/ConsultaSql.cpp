#include "platform/ConsultaSql.h"

#include <cstring>

#include "platform/ConexaoBanco.h"
#include "platform/FirebirdApi.h"
#include "platform/Windows1252.h"

using namespace Firebird;
using FirebirdApi::Status;

namespace {

// Largest text a VARCHAR parameter can carry.
constexpr unsigned kMaiorParametro = 32765;

// The statement's own transaction when no explicit one is open; committed by
// Confirmar, rolled back if the statement fails.
class TransacaoDaInstrucao {
 public:
  TransacaoDaInstrucao(ConexaoBanco* conexao, ITransaction* explicita, ITransaction* propria)
      : FTransacao(explicita ? explicita : propria), FPropria(explicita == nullptr) {
    (void)conexao;
  }
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

template <typename T>
struct Liberador {
  void operator()(T* objeto) const {
    if (objeto) objeto->release();
  }
};
template <typename T>
using Ref = std::unique_ptr<T, Liberador<T>>;

QDateTime DataHora(IUtil* util, ISC_DATE data, ISC_TIME hora) {
  unsigned ano = 0, mes = 0, dia = 0, h = 0, m = 0, s = 0, fracao = 0;
  util->decodeDate(data, &ano, &mes, &dia);
  util->decodeTime(hora, &h, &m, &s, &fracao);
  return QDateTime(QDate(int(ano), int(mes), int(dia)), QTime(int(h), int(m), int(s), int(fracao / 10)));
}

QString LerBlob(IAttachment* anexo, ITransaction* transacao, ISC_QUAD* id) {
  Status st;
  Ref<IBlob> blob(anexo->openBlob(&st, transacao, id, 0, nullptr));
  QByteArray bytes;
  char pedaco[32768];
  for (;;) {
    unsigned lidos = 0;
    const int resultado = blob->getSegment(&st, sizeof pedaco, pedaco, &lidos);
    if (resultado == IStatus::RESULT_NO_DATA) break;
    bytes.append(pedaco, lidos);
  }
  blob->close(&st);
  (void)blob.release();  // close() released it
  return Windows1252::paraUnicode(bytes);
}

qint64 Escalado(qint64 valor, int escala, ValorCampo* saida) {
  if (escala == 0) {
    *saida = ValorCampo::Inteiro(valor);
  } else {
    double v = static_cast<double>(valor);
    for (int i = 0; i < -escala; ++i) v /= 10.0;
    for (int i = 0; i < escala; ++i) v *= 10.0;
    *saida = ValorCampo::Real(v);
  }
  return valor;
}

}  // namespace

struct ConsultaSql::Preparado {
  struct Coluna {
    unsigned Tipo, Deslocamento, DeslocamentoNulo, Tamanho;
    int Escala;
  };
  IStatement* Instrucao = nullptr;
  IMessageMetadata* Saida = nullptr;
  // The result's columns, read from the metadata once per prepare rather
  // than once per execution.
  QStringList Colunas;
  std::vector<Coluna> Formato;
  unsigned TamanhoLinha = 0;
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
  TransacaoDaInstrucao transacao(FConexao, FConexao->TransacaoExplicita(),
                                 FConexao->TransacaoExplicita() ? nullptr : FConexao->NovaTransacao());
  try {
    novo->Instrucao = anexo->prepare(&st, transacao.get(), static_cast<unsigned>(texto.size()), texto.constData(),
                                     FConexao->Dialeto(), IStatement::PREPARE_PREFETCH_METADATA);
    novo->Geracao = FConexao->Geracao();
    novo->TemCursor = (novo->Instrucao->getFlags(&st) & IStatement::FLAG_HAS_CURSOR) != 0;
    novo->Saida = novo->Instrucao->getOutputMetadata(&st);
    IMessageMetadata* meta = novo->Saida;
    const unsigned colunas = meta->getCount(&st);
    novo->Formato.resize(colunas);
    for (unsigned i = 0; i < colunas; ++i) {
      novo->Colunas.append(Windows1252::paraUnicode(QByteArray(meta->getAlias(&st, i))).toUpper());
      novo->Formato[i] = {meta->getType(&st, i) & ~1u, meta->getOffset(&st, i), meta->getNullOffset(&st, i),
                          meta->getLength(&st, i), meta->getScale(&st, i)};
    }
    novo->TamanhoLinha = meta->getMessageLength(&st);
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
    TransacaoDaInstrucao transacao(FConexao, explicita, explicita ? nullptr : FConexao->NovaTransacao());
    FConexao->ContarExecucao(FSql.Original());
    Status st;
    IMessageMetadata* meta = p.Saida;
    FColunas = p.Colunas;
    const unsigned colunas = static_cast<unsigned>(p.Formato.size());
    const std::vector<Preparado::Coluna>& formato = p.Formato;
    std::vector<unsigned char> linha(p.TamanhoLinha);
    IUtil* util = FirebirdApi::Mestre()->getUtilInterface();
    auto decodificar = [&] {
      std::vector<ValorCampo> registro(colunas);
      for (unsigned i = 0; i < colunas; ++i) {
        const Preparado::Coluna& c = formato[i];
        if (*reinterpret_cast<const short*>(&linha[c.DeslocamentoNulo])) continue;
        const unsigned char* dado = &linha[c.Deslocamento];
        switch (c.Tipo) {
          case SQL_TEXT:
            registro[i] = ValorCampo::Texto(Windows1252::paraUnicode(reinterpret_cast<const char*>(dado), c.Tamanho));
            break;
          case SQL_VARYING: {
            unsigned short tamanho = 0;
            std::memcpy(&tamanho, dado, sizeof tamanho);
            registro[i] = ValorCampo::Texto(
                Windows1252::paraUnicode(reinterpret_cast<const char*>(dado + sizeof tamanho), tamanho));
            break;
          }
          case SQL_SHORT: {
            qint16 v;
            std::memcpy(&v, dado, sizeof v);
            Escalado(v, c.Escala, &registro[i]);
            break;
          }
          case SQL_LONG: {
            qint32 v;
            std::memcpy(&v, dado, sizeof v);
            Escalado(v, c.Escala, &registro[i]);
            break;
          }
          case SQL_INT64: {
            qint64 v;
            std::memcpy(&v, dado, sizeof v);
            Escalado(v, c.Escala, &registro[i]);
            break;
          }
          case SQL_FLOAT: {
            float v;
            std::memcpy(&v, dado, sizeof v);
            registro[i] = ValorCampo::Real(v);
            break;
          }
          case SQL_DOUBLE:
          case SQL_D_FLOAT: {
            double v;
            std::memcpy(&v, dado, sizeof v);
            registro[i] = ValorCampo::Real(v);
            break;
          }
          case SQL_TIMESTAMP: {
            ISC_TIMESTAMP v;
            std::memcpy(&v, dado, sizeof v);
            registro[i] = ValorCampo::DataHora(DataHora(util, v.timestamp_date, v.timestamp_time));
            break;
          }
          case SQL_TYPE_DATE: {
            ISC_DATE v;
            std::memcpy(&v, dado, sizeof v);
            registro[i] = ValorCampo::DataHora(DataHora(util, v, 0));
            break;
          }
          case SQL_TYPE_TIME: {
            ISC_TIME v;
            std::memcpy(&v, dado, sizeof v);
            registro[i] = ValorCampo::DataHora(DataHora(util, util->encodeDate(1899, 12, 30), v));
            break;
          }
          case SQL_BOOLEAN:
            registro[i] = ValorCampo::Inteiro(*dado ? 1 : 0);
            break;
          case SQL_BLOB: {
            ISC_QUAD id;
            std::memcpy(&id, dado, sizeof id);
            registro[i] = ValorCampo::Texto(LerBlob(anexo, transacao.get(), &id));
            break;
          }
          default:
            throw Falha(QStringLiteral("Tipo de coluna não suportado (%1) em %2.").arg(c.Tipo).arg(FColunas[int(i)]));
        }
      }
      FLinhas.push_back(std::move(registro));
    };
    if (!p.TemCursor) {
      // A statement without a cursor (EXECUTE PROCEDURE, singleton) still
      // returns its one row, if it has outputs.
      p.Instrucao->execute(&st, transacao.get(), entradaMeta, entrada.empty() ? nullptr : entrada.data(), meta,
                           linha.data());
      if (colunas > 0) decodificar();
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
    TransacaoDaInstrucao transacao(FConexao, explicita, explicita ? nullptr : FConexao->NovaTransacao());
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
