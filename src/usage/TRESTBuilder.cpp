#include "usage/TRESTBuilder.h"

#include "platform/TextoOle.h"
#include "platform/Windows1252.h"
#include "usage/TRESTExecutor.h"

TRESTBuilder::TRESTBuilder() {
  FRequest.Route = TextoOle::Criar(QStringLiteral("/"));
  FRequest.UserAgent = TextoOle::Criar(QStringLiteral("curl"));
}

TRESTBuilder::~TRESTBuilder() { TRESTRequestDTO::Finalizar(FRequest); }

TRESTBuilder& TRESTBuilder::SetRequestType(std::uint8_t valor) {
  FRequest.RequestType = valor;
  return *this;
}

TRESTBuilder& TRESTBuilder::SetBaseUrl(const QByteArray& texto) {
  BSTR novo = Converter(texto);
  SysFreeString(FRequest.BaseUrl);
  FRequest.BaseUrl = novo;
  return *this;
}

TRESTBuilder& TRESTBuilder::SetBaseUrl(const QString& texto) { return SetBaseUrl(Windows1252::deUnicode(texto)); }

TRESTBuilder& TRESTBuilder::SetRoute(const QByteArray& texto) {
  BSTR novo = Converter(texto);
  SysFreeString(FRequest.Route);
  FRequest.Route = novo;
  return *this;
}

TRESTBuilder& TRESTBuilder::SetRoute(const QString& texto) { return SetRoute(Windows1252::deUnicode(texto)); }

TRESTBuilder& TRESTBuilder::SetAuxText2(const QByteArray& texto) {
  BSTR novo = Converter(texto);
  SysFreeString(FRequest.AuxText2);
  FRequest.AuxText2 = novo;
  return *this;
}

TRESTBuilder& TRESTBuilder::SetAuxText2(const QString& texto) { return SetAuxText2(Windows1252::deUnicode(texto)); }

TRESTBuilder& TRESTBuilder::SetBody(const QByteArray& texto) {
  FRequest.BodyKind = kBodyKindCorpo;
  BSTR novo = Converter(texto);
  SysFreeString(FRequest.Body);
  FRequest.Body = novo;
  return *this;
}

TRESTBuilder& TRESTBuilder::SetBody(const QString& texto) { return SetBody(Windows1252::deUnicode(texto)); }

std::unique_ptr<TRESTExecutor> TRESTBuilder::Build() const { return std::make_unique<TRESTExecutor>(FRequest); }

QByteArray TRESTBuilder::Aparar(const QByteArray& texto) {
  auto branco = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  qsizetype inicio = 0;
  qsizetype fim = texto.size();
  while (inicio < fim && branco(texto[inicio])) ++inicio;
  while (fim > inicio && branco(texto[fim - 1])) --fim;
  return texto.mid(inicio, fim - inicio);
}

BSTR TRESTBuilder::Converter(const QByteArray& texto) {
  return TextoOle::Criar(Windows1252::paraUnicode(Aparar(texto)));
}
