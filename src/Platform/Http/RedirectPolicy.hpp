#pragma once
// The redirect rules both HTTP clients follow themselves, one hop at a time:
// which answers redirect, where a Location leads, and whether it may be
// followed. Only to the same scheme, host and port as the first request, so
// that the token in the query and the request body never reach another
// server; at most kMaxRedirects hops.
#include <string>
#include <string_view>

namespace Platform {

inline constexpr int kMaxRedirects = 5;

inline bool IsRedirectStatus(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// "scheme host port" of an http or https URL, in lower case, with the
// scheme's own port where none is written; empty for anything else. Hosts are
// compared as written (ignoring case): "127.1" is not "127.0.0.1".
std::string OriginOf(std::string_view url);

// A Location made absolute against the URL it answered; without its fragment.
std::string ResolveLocation(const std::string& base, const std::string& location);

// What to do after an answer.
struct RedirectHop {
  enum class Kind { Final, Follow, Refused } What = Kind::Final;
  std::string Url;        // Follow: the next URL
  std::string Method;     // Follow: the next method
  bool WithBody = false;  // Follow: whether the body goes again (from its first byte)
  std::string Refusal;    // Refused: why, for people, without the Location's query
};

// The hop after an answer with `status` and `location` (empty: none) to a
// request `method` on `url`, the `hop`-th redirect (counted from 0) of a
// request first sent to `firstUrl`. A POST answered by 301, 302 or 303 goes
// on as a GET without body, as browsers do; 307 and 308 keep both.
RedirectHop NextHop(const std::string& firstUrl, const std::string& url, const std::string& method,
                    bool withBody, long status, const std::string& location, int hop);

}  // namespace Platform
