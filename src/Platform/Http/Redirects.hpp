#pragma once
// The redirect rules both HTTP clients follow themselves: which answers
// redirect, how many are followed, and the words for those that are not.
#include <string>

namespace Platform {

inline constexpr int kMaxRedirects = 5;

inline bool IsRedirectStatus(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A redirect to another scheme, host or port, named without its query: the
// token and the body would have gone along.
inline std::string RefusedRedirect(const std::string& location) {
  return "the server redirected to " + location.substr(0, location.find_first_of("?#")) +
         ", another server; not followed";
}

inline std::string TooManyRedirects() {
  return "more than " + std::to_string(kMaxRedirects) + " redirects";
}

}  // namespace Platform
