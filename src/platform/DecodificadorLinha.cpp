#include "platform/DecodificadorLinha.h"

#include <cstring>

#include "platform/Falha.h"
#include "platform/FirebirdApi.h"
#include "platform/Windows1252.h"

using namespace Firebird;
using FirebirdApi::Ref;
using FirebirdApi::Status;

namespace {

// The message holds values at byte offsets with no alignment promised.
template <typename T>
T Ler(const unsigned char* dado) {
  T valor;
  std::memcpy(&valor, dado, sizeof valor);
  return valor;
}

// CHAR keeps its trailing blanks.
ValorCampo Fixo(const unsigned char* dado, unsigned tamanho) {
  return ValorCampo::Texto(Windows1252::paraUnicode(reinterpret_cast<const char*>(dado), tamanho));
}

ValorCampo Variavel(const unsigned char* dado) {
  const auto tamanho = Ler<unsigned short>(dado);
  return ValorCampo::Texto(Windows1252::paraUnicode(reinterpret_cast<const char*>(dado + sizeof tamanho), tamanho));
}

// SMALLINT, INTEGER and BIGINT; with a scale (NUMERIC, DECIMAL) the value is
// a real number.
template <typename T>
ValorCampo Inteiro(const unsigned char* dado, int escala) {
  const qint64 valor = Ler<T>(dado);
  if (escala == 0) return ValorCampo::Inteiro(valor);
  double v = static_cast<double>(valor);
  for (int i = 0; i < -escala; ++i) v /= 10.0;
  for (int i = 0; i < escala; ++i) v *= 10.0;
  return ValorCampo::Real(v);
}

// FLOAT and DOUBLE PRECISION. A dialect-1 NUMERIC wider than nine digits is
// a DOUBLE PRECISION that reports its scale; the value is already scaled.
template <typename T>
ValorCampo Real(const unsigned char* dado) {
  return ValorCampo::Real(Ler<T>(dado));
}

ValorCampo DataHora(const unsigned char* dado) {
  const auto v = Ler<ISC_TIMESTAMP>(dado);
  IUtil* util = FirebirdApi::Mestre()->getUtilInterface();
  unsigned ano = 0, mes = 0, dia = 0, h = 0, m = 0, s = 0, fracao = 0;
  util->decodeDate(v.timestamp_date, &ano, &mes, &dia);
  util->decodeTime(v.timestamp_time, &h, &m, &s, &fracao);
  return ValorCampo::DataHora(
      QDateTime(QDate(int(ano), int(mes), int(dia)), QTime(int(h), int(m), int(s), int(fracao / 10))));
}

ValorCampo Booleano(const unsigned char* dado) { return ValorCampo::Inteiro(*dado ? 1 : 0); }

ValorCampo Blob(const unsigned char* dado, IAttachment* anexo, ITransaction* transacao) {
  auto id = Ler<ISC_QUAD>(dado);
  Status st;
  Ref<IBlob> blob(anexo->openBlob(&st, transacao, &id, 0, nullptr));
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
  return ValorCampo::Texto(Windows1252::paraUnicode(bytes));
}

}  // namespace

DecodificadorLinha::DecodificadorLinha(IMessageMetadata* saida) {
  Status st;
  const unsigned colunas = saida->getCount(&st);
  FFormato.resize(colunas);
  for (unsigned i = 0; i < colunas; ++i) {
    FColunas.append(Windows1252::paraUnicode(QByteArray(saida->getAlias(&st, i))).toUpper());
    FFormato[i] = {saida->getType(&st, i) & ~1u, saida->getOffset(&st, i), saida->getNullOffset(&st, i),
                   saida->getLength(&st, i), saida->getScale(&st, i)};
  }
  FTamanhoLinha = saida->getMessageLength(&st);
}

std::vector<ValorCampo> DecodificadorLinha::Decodificar(const unsigned char* linha, IAttachment* anexo,
                                                        ITransaction* transacao) const {
  std::vector<ValorCampo> registro(FFormato.size());
  for (unsigned i = 0; i < FFormato.size(); ++i) {
    const Coluna& c = FFormato[i];
    if (Ler<short>(linha + c.DeslocamentoNulo)) continue;  // NULL
    registro[i] = Valor(i, linha + c.Deslocamento, anexo, transacao);
  }
  return registro;
}

ValorCampo DecodificadorLinha::Valor(unsigned indice, const unsigned char* dado, IAttachment* anexo,
                                     ITransaction* transacao) const {
  const Coluna& c = FFormato[indice];
  switch (c.Tipo) {
    case SQL_TEXT: return Fixo(dado, c.Tamanho);
    case SQL_VARYING: return Variavel(dado);
    case SQL_SHORT: return Inteiro<qint16>(dado, c.Escala);
    case SQL_LONG: return Inteiro<qint32>(dado, c.Escala);
    case SQL_INT64: return Inteiro<qint64>(dado, c.Escala);
    case SQL_FLOAT: return Real<float>(dado);
    case SQL_DOUBLE: return Real<double>(dado);
    case SQL_TIMESTAMP: return DataHora(dado);
    case SQL_BOOLEAN: return Booleano(dado);
    case SQL_BLOB: return Blob(dado, anexo, transacao);
    default:
      throw Falha(QStringLiteral("Tipo de coluna não suportado (%1) em %2.").arg(c.Tipo).arg(FColunas[int(indice)]));
  }
}

bool DecodificadorLinha::TemBlob() const {
  for (const Coluna& coluna : FFormato)
    if (coluna.Tipo == SQL_BLOB) return true;
  return false;
}
