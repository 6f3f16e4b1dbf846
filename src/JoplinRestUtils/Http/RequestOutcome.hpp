#pragma once
// What became of one request, as a value the caller keeps: whether an answer
// came, its status, and why it failed. The JSON of the answer stays in the
// client's response store until the next request.
#include <optional>
#include <string>

namespace JoplinRestUtils {

struct TRequestOutcome {
  bool Answered = false;        // any answer, an error status included
  long Status = 0;              // 0 without an answer
  std::string Failure;          // for people; empty on success; never the token
  bool OutOfTime = false;       // no answer because the run's time for answers ran out
  bool ClearlyRefused = false;  // never reached the server, or an error status (400 and above)

  // An answer with a success status.
  bool Succeeded() const { return Answered && Status < 300; }
  // An answer to read, an error status below 500 included.
  bool AnsweredBelow500() const { return Answered && Status < 500; }
};

// A request's outcome and what was read from its answer: no value when the
// answer was missing, an error, or of the wrong shape.
template <typename T>
struct TReadResult {
  TRequestOutcome Request;
  std::optional<T> Value;
};

}  // namespace JoplinRestUtils
