#pragma once

#include "usage/TRESTRequestDTO.h"
#include "usage/TRESTResponseDTO.h"

// A validated request and the response of its last execution. Construction
// refuses an incomplete request, before anything is loaded or sent, with the
// first of: no base URL, no route, no request type.
//
// Threads: the thread that built it.
class TRESTExecutor {
 public:
  explicit TRESTExecutor(const TRESTRequestDTO& request);
  ~TRESTExecutor();
  TRESTExecutor(const TRESTExecutor&) = delete;
  TRESTExecutor& operator=(const TRESTExecutor&) = delete;

  // Runs the request through the transport library. A transport failure
  // passes out unchanged and leaves FResponse and FExecuted as they were.
  // Each call runs the request again.
  void Execute();

  const TRESTRequestDTO& Request() const { return FRequest; }
  const TRESTResponseDTO& Response() const { return FResponse; }
  bool Executed() const { return FExecuted; }

 private:
  TRESTRequestDTO FRequest;
  TRESTResponseDTO FResponse;
  bool FExecuted = false;
};
