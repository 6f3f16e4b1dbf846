#pragma once
// The base URL of the client and the URL of each request.
#include <string>
#include <string_view>

#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

// A base URL that cannot be parsed; the message quotes it.
class EInvalidUrl : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EInvalidUrl"; }
};

// Trims, puts "http://" in front of a text without scheme, checks the
// authority and drops one trailing "/". Empty stays empty. Throws EInvalidUrl.
std::string NormaliseBaseUrl(std::string_view baseUrl);

// A URL as messages show it: without "user:password@", query and fragment,
// so that neither a password nor a token is ever printed.
std::string UrlForMessages(std::string_view url);

// The base URL and the resource (its leading "/" removed) joined by one "/".
std::string JoinRequestUrl(std::string_view baseUrl, std::string_view resource);

// The URL as it is sent: scheme lower-cased, the scheme's default port left
// out, characters not allowed in a path percent-encoded, the query as it is.
// False for a URL that cannot be parsed (no scheme, no host).
bool NormaliseRequestUrl(std::string_view url, std::string& normalised);

}  // namespace JoplinRestUtils
