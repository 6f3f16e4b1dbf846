#include "Platform/Http/RedirectPolicy.hpp"

#include <charconv>

#include "Platform/Text/Ascii.hpp"

namespace Platform {
namespace {

// The length of "scheme:" at the start, or 0 when the text has no scheme.
size_t SchemeLength(std::string_view url) {
  if (url.empty() || !IsAsciiLetter(url[0]))
    return 0;
  for (size_t i = 1; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':')
      return i + 1;
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.')
      return 0;
  }
  return 0;
}

std::string WithoutFragment(std::string url) {
  url.resize(std::min(url.find('#'), url.size()));
  return url;
}

}  // namespace

std::string OriginOf(std::string_view url) {
  const size_t schemeEnd = SchemeLength(url);
  const std::string scheme = AsciiLowerCase(url.substr(0, schemeEnd));
  if ((scheme != "http:" && scheme != "https:") || url.substr(schemeEnd, 2) != "//")
    return {};
  std::string_view authority = url.substr(schemeEnd + 2);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  size_t hostEnd = authority.find(':');
  if (authority.starts_with('[')) {
    hostEnd = authority.find(']');
    if (hostEnd == std::string_view::npos)
      return {};
    ++hostEnd;
    if (hostEnd < authority.size() && authority[hostEnd] != ':')
      return {};
  }
  const std::string_view host = authority.substr(0, hostEnd);
  if (host.empty())
    return {};
  int port = scheme == "https:" ? 443 : 80;
  if (hostEnd < authority.size()) {
    const std::string_view written = authority.substr(hostEnd + 1);
    if (!written.empty()) {
      const auto [end, error] =
          std::from_chars(written.data(), written.data() + written.size(), port);
      if (error != std::errc() || end != written.data() + written.size() || port <= 0 ||
          port > 65535)
        return {};
    }
  }
  return scheme.substr(0, scheme.size() - 1) + " " + AsciiLowerCase(host) + " " +
         std::to_string(port);
}

std::string ResolveLocation(const std::string& base, const std::string& location) {
  if (SchemeLength(location) > 0)
    return WithoutFragment(location);
  const size_t authority = base.find("://");
  const size_t pathStart =
      authority == std::string::npos ? std::string::npos : base.find_first_of("/?#", authority + 3);
  const std::string origin = pathStart == std::string::npos ? base : base.substr(0, pathStart);
  if (location.starts_with("//"))
    return WithoutFragment(base.substr(0, authority + 1) + location);
  if (location.starts_with('/'))
    return WithoutFragment(origin + location);
  std::string path = pathStart == std::string::npos ? "/" : base.substr(pathStart);
  path.resize(std::min(path.find_first_of("?#"), path.size()));
  if (location.starts_with('?'))
    return WithoutFragment(origin + path + location);
  return WithoutFragment(origin + path.substr(0, path.rfind('/') + 1) + location);
}

RedirectHop NextHop(const std::string& firstUrl, const std::string& url, const std::string& method,
                    bool withBody, long status, const std::string& location, int hop) {
  RedirectHop next;
  if (!IsRedirectStatus(status) || location.empty())
    return next;
  next.Url = ResolveLocation(url, location);
  const std::string origin = OriginOf(firstUrl);
  if (origin.empty() || OriginOf(next.Url) != origin) {
    next.What = RedirectHop::Kind::Refused;
    next.Refusal = "the server redirected to " + next.Url.substr(0, next.Url.find_first_of("?#")) +
                   ", another server; not followed";
    return next;
  }
  if (hop >= kMaxRedirects) {
    next.What = RedirectHop::Kind::Refused;
    next.Refusal = "more than " + std::to_string(kMaxRedirects) + " redirects";
    return next;
  }
  next.What = RedirectHop::Kind::Follow;
  const bool becomesGet = method == "POST" && status <= 303;
  next.Method = becomesGet ? "GET" : method;
  next.WithBody = becomesGet ? false : withBody;
  return next;
}

}  // namespace Platform
