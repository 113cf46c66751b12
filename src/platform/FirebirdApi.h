#pragma once

#include <firebird/Interface.h>

#include <memory>

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

// Owns an interface of the client and releases it, unless handed back first
// (close() and free() release by themselves).
template <typename T>
struct Liberador {
  void operator()(T* objeto) const {
    if (objeto) objeto->release();
  }
};
template <typename T>
using Ref = std::unique_ptr<T, Liberador<T>>;

// The client's formatted text of a failure, every line of it, and whether
// the attachment is gone with it.
FalhaBanco Converter(const Firebird::FbException& e);

}  // namespace FirebirdApi
