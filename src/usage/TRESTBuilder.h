#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

#include "usage/TRESTRequestDTO.h"

class TRESTExecutor;

// Fills a request record with defaults and trimmed inputs; every setter
// returns the builder so that calls chain. Texts are 8-bit Windows-1252
// texts (a QString is taken as the Windows-1252 text it stands for):
// characters 0 to 32 are cut from both ends before the text becomes UTF-16.
//
// Threads: the builder and its executors belong to the thread that made them.
class TRESTBuilder {
 public:
  // RequestType 0, BodyKind 0, Route "/", UserAgent "curl", the rest empty.
  TRESTBuilder();
  ~TRESTBuilder();
  TRESTBuilder(const TRESTBuilder&) = delete;
  TRESTBuilder& operator=(const TRESTBuilder&) = delete;

  // Stored unchanged, unchecked.
  TRESTBuilder& SetRequestType(std::uint8_t valor);
  TRESTBuilder& SetBaseUrl(const QByteArray& texto);
  TRESTBuilder& SetBaseUrl(const QString& texto);
  // An empty route replaces the default "/" (and is then refused by Build).
  TRESTBuilder& SetRoute(const QByteArray& texto);
  TRESTBuilder& SetRoute(const QString& texto);
  TRESTBuilder& SetAuxText2(const QByteArray& texto);
  TRESTBuilder& SetAuxText2(const QString& texto);
  // BodyKind becomes 2 also for an empty body.
  TRESTBuilder& SetBody(const QByteArray& texto);
  TRESTBuilder& SetBody(const QString& texto);

  // A new executor from the record as it stands; raises the executor's
  // validation failure, leaving the builder as it was.
  std::unique_ptr<TRESTExecutor> Build() const;

  const TRESTRequestDTO& Request() const { return FRequest; }

  // Characters 0 to 32 cut from both ends; inner ones stay.
  static QByteArray Aparar(const QByteArray& texto);

 private:
  // The trimmed text as a new OLE string (null when nothing is left).
  static BSTR Converter(const QByteArray& texto);

  TRESTRequestDTO FRequest;
};
