#pragma once

// The calling thread inside a single-threaded COM apartment for the lifetime
// of the object. A thread that cannot enter simply works without COM, and
// then leaves nothing: only an apartment entered is left again. Nothing to
// do off Windows.
//
// Threads: created and destroyed on the same thread.
class ApartamentoCom {
 public:
  ApartamentoCom();
  ~ApartamentoCom();
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;

 private:
  [[maybe_unused]] bool FEntrou = false;  // used on Windows only
};
