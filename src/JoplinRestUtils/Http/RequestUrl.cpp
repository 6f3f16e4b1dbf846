#include "JoplinRestUtils/Http/RequestUrl.hpp"

#include "JoplinRestUtils/Http/PercentEncoding.hpp"

#include "Platform/Text/Ascii.hpp"

#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

bool IsSchemeChar(char c) {
  return Platform::IsAsciiAlnum(c) || c == '+' || c == '-' || c == '.';
}

// Length of the scheme before ":", or 0 when the text starts with none.
size_t SchemeLength(std::string_view url) {
  size_t length = 0;
  while (length < url.size() && IsSchemeChar(url[length]))
    ++length;
  return (length > 0 && length < url.size() && url[length] == ':') ? length : 0;
}

bool IsSlash(char c) {
  return c == '/' || c == '\\';
}

bool IsDigits(std::string_view text) {
  if (text.empty())
    return false;
  for (const char c : text) {
    if (!Platform::IsAsciiDigit(c))
      return false;
  }
  return true;
}

// The host and port part after "//", up to the path, query or fragment.
std::string_view AuthorityAt(std::string_view url, size_t start) {
  const size_t end = url.find_first_of("/\\?#", start);
  return url.substr(start, end == std::string_view::npos ? url.npos : end - start);
}

// "host:port" or "[v6]:port": the port text after the host, or nothing.
bool SplitPort(std::string_view authority, std::string_view& host, std::string_view& port) {
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  const size_t close = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon == std::string_view::npos || (close != std::string_view::npos && colon < close)) {
    host = authority;
    port = {};
    return false;
  }
  host = authority.substr(0, colon);
  port = authority.substr(colon + 1);
  return true;
}

[[noreturn]] void ThrowInvalid(std::string_view url) {
  throw EInvalidUrl("Malformed URL: \"" + UrlForMessages(url) + "\"");
}

bool IsAllowedInPath(char c) {
  return Platform::IsAsciiAlnum(c) ||
         std::string_view("-._~!$&'()*+,;=:@/%").find(c) != std::string_view::npos;
}

std::string PercentEncodePath(std::string_view path) {
  return PercentEncode(path, IsAllowedInPath);
}

}  // namespace

std::string UrlForMessages(std::string_view url) {
  url = url.substr(0, url.find_first_of("?#"));
  const size_t schemeEnd = url.find("://");
  const size_t authority = schemeEnd == std::string_view::npos ? 0 : schemeEnd + 3;
  const size_t authorityEnd = url.find('/', authority);
  const size_t at = url.substr(0, authorityEnd).rfind('@');
  if (at == std::string_view::npos || at < authority)
    return std::string(url);
  return std::string(url.substr(0, authority)) + std::string(url.substr(at + 1));
}

std::string NormaliseBaseUrl(std::string_view baseUrl) {
  std::string url(Kestrel::CommonLib::TrimText(baseUrl));
  if (url.empty())
    return url;
  const size_t schemeLength = SchemeLength(url);
  if (schemeLength == 0) {
    url = "http://" + url;
  } else if (!Kestrel::CommonLib::MatchesAnyText(url.substr(0, schemeLength),
                                                 {"mailto", "news", "tel", "urn"})) {
    size_t slashes = 0;
    while (schemeLength + 1 + slashes < url.size() && IsSlash(url[schemeLength + 1 + slashes]))
      ++slashes;
    if (slashes < 2)
      ThrowInvalid(baseUrl);
    if (slashes == 2) {
      std::string_view host, port;
      const std::string_view authority = AuthorityAt(url, schemeLength + 3);
      const bool hasPort = SplitPort(authority, host, port);
      if (host.empty() || (hasPort && !IsDigits(port)))
        ThrowInvalid(baseUrl);
    }
  }
  if (url.ends_with('/'))
    url.pop_back();
  return url;
}

std::string JoinRequestUrl(std::string_view baseUrl, std::string_view resource) {
  while (resource.starts_with('/'))
    resource.remove_prefix(1);
  if (baseUrl.empty())
    return std::string(resource);
  std::string url(baseUrl);
  if (!url.ends_with('/') && !resource.empty() && !resource.starts_with('?') &&
      !resource.starts_with('#'))
    url += '/';
  url += resource;
  return url;
}

bool NormaliseRequestUrl(std::string_view url, std::string& normalised) {
  const size_t schemeLength = SchemeLength(url);
  if (schemeLength == 0 || url.substr(schemeLength, 3) != "://")
    return false;
  const std::string scheme = Platform::AsciiLowerCase(url.substr(0, schemeLength));
  const std::string_view authority = AuthorityAt(url, schemeLength + 3);
  std::string_view host, port;
  const bool hasPort = SplitPort(authority, host, port);
  if (host.empty() || (hasPort && !IsDigits(port)))
    return false;
  std::string_view rest = url.substr(schemeLength + 3 + authority.size());
  const size_t queryStart = rest.find_first_of("?#");
  const std::string_view path = rest.substr(0, queryStart);
  const std::string_view query =
      queryStart == std::string_view::npos ? "" : rest.substr(queryStart);

  const bool defaultPort =
      (scheme == "http" && port == "80") || (scheme == "https" && port == "443");
  normalised = scheme + "://";
  normalised +=
      hasPort && defaultPort ? authority.substr(0, authority.size() - port.size() - 1) : authority;
  normalised += PercentEncodePath(path);
  normalised += query;
  return true;
}

}  // namespace JoplinRestUtils
