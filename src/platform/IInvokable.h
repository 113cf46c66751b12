#pragma once

// Base of the interfaces whose operations are described for remote
// invocation. The description itself lives in TInvokableClassRegistry; the
// C++ class only fixes the signatures for an implementation or a proxy.
class IInvokable {
 public:
  virtual ~IInvokable() = default;

 protected:
  IInvokable() = default;
  IInvokable(const IInvokable&) = default;
  IInvokable& operator=(const IInvokable&) = default;
};
