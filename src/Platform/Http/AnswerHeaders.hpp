#pragma once
// Reading an answer's headers, shared by both HTTP clients: a header's value
// by its name, and the length the answer declares for its body, so that a
// filter can make room for the body once.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/Http/HttpClient.hpp"
#include "Platform/Text/Ascii.hpp"

namespace Platform {

// The value of the first header named `name` (lower case), or empty.
inline std::string HeaderValue(const HttpResponse& answer, std::string_view name) {
  for (const auto& [key, value] : answer.Headers) {
    if (AsciiLowerCase(key) == name)
      return value;
  }
  return {};
}

inline std::optional<std::uint64_t> DeclaredLength(const HttpResponse& answer) {
  const std::string value = HeaderValue(answer, "content-length");
  std::uint64_t length = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  if (value.empty() || error != std::errc() || end != value.data() + value.size())
    return std::nullopt;
  return length;
}

}  // namespace Platform
