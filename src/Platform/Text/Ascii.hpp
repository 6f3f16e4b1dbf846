#pragma once
// Character classes of ASCII alone, the same in every locale.
#include <string>
#include <string_view>

namespace Platform {

constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsAsciiAlnum(char c) {
  return IsAsciiDigit(c) || IsAsciiLetter(c);
}
constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// The text with "A".."Z" mapped to "a".."z" and nothing else changed.
inline std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (auto& c : lower)
    c = AsciiLower(c);
  return lower;
}

}  // namespace Platform
