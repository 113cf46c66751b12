#pragma once

// The calling thread inside a single-threaded COM apartment for the lifetime
// of the object; the result of entering is ignored, as a thread that fails to
// enter simply works without COM. Nothing to do off Windows.
//
// Threads: created and destroyed on the same thread.
class ApartamentoCom {
 public:
  ApartamentoCom();
  ~ApartamentoCom();
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;
};
