#pragma once

#include <firebird/Interface.h>

#include "platform/FalhaBanco.h"

// Small helpers over the Firebird client API shared by the data-access
// classes. Nothing outside src/platform includes this header.
namespace FirebirdApi {

Firebird::IMaster* Mestre();

// A status wrapper that throws FbException and gives its status back.
class Status : public Firebird::ThrowStatusWrapper {
 public:
  Status() : Firebird::ThrowStatusWrapper(Mestre()->getStatus()) {}
  ~Status() { dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
};

// The client's formatted text of a failure, every line of it, and whether
// the attachment is gone with it.
FalhaBanco Converter(const Firebird::FbException& e);

}  // namespace FirebirdApi
