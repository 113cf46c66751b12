#pragma once

// Base of the data classes that the remote-invocation layer can carry.
// Objects hold raw references to other objects they own and free them in
// their destructors, so they are never copied: a copy would free twice.
class TRemotable {
 public:
  TRemotable() = default;
  TRemotable(const TRemotable&) = delete;
  TRemotable& operator=(const TRemotable&) = delete;
  // Virtual: owners free held objects through the base type of the slot.
  virtual ~TRemotable() = default;
};
