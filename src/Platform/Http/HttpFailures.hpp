#pragma once
// Why a request got no answer, as both HTTP clients tell it: a kind that the
// client acts on, and the words for people.
#include <cstdint>
#include <string>

namespace Platform {

enum class HttpFailureKind { Other, OutOfTime, Stalled, TooLarge, Redirect };

struct HttpFailure {
  HttpFailureKind Kind = HttpFailureKind::Other;
  std::string Text;
};

inline HttpFailure OutOfTimeFailure(long grantedSeconds) {
  return {HttpFailureKind::OutOfTime, "no complete answer within the " +
                                          std::to_string(grantedSeconds) +
                                          " s that the run allows for answers"};
}

inline HttpFailure StalledFailure(bool uploading, long seconds) {
  return {HttpFailureKind::Stalled,
          uploading ? "the upload made no progress for " + std::to_string(seconds) + " s"
                    : "the server sent nothing for " + std::to_string(seconds) + " s"};
}

inline HttpFailure TooLargeFailure(std::uint64_t maxBytes) {
  return {HttpFailureKind::TooLarge,
          "the answer is larger than " + std::to_string(maxBytes >> 20) + " MiB"};
}

}  // namespace Platform
