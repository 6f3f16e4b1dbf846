#pragma once
// Percent-encoding: every byte the predicate does not keep becomes "%" and two
// upper-case hexadecimal digits.
#include <string>
#include <string_view>

#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {

// Letters, digits and "-._~": what a URL carries as it is anywhere.
inline bool IsUnreservedInUrl(char c) {
  return Platform::IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

template <typename Keep>
std::string PercentEncode(std::string_view bytes, Keep keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size());
  for (const char c : bytes) {
    if (keep(c)) {
      encoded += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0xF];
    }
  }
  return encoded;
}

}  // namespace JoplinRestUtils
