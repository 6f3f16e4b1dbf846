#pragma once
// The length an answer's headers declare for its body, shared by both HTTP
// clients so that a filter can make room for the body once.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "Platform/Http/HttpClient.hpp"

namespace Platform {

inline std::optional<std::uint64_t> DeclaredLength(const HttpResponse& answer) {
  for (const auto& [name, value] : answer.Headers) {
    if (name.size() != 14 || !std::equal(name.begin(), name.end(), "content-length",
                                         [](char a, char b) { return (a | 0x20) == b; }))
      continue;
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error == std::errc() && end == value.data() + value.size())
      return length;
  }
  return std::nullopt;
}

}  // namespace Platform
