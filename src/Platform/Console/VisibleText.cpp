#include <string>

#include "Platform/Console/Console.hpp"
#include "Platform/Text/Utf8.hpp"

namespace Platform {
namespace {

bool IsBidiControl(char32_t cp) {
  return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

bool MustEscape(char32_t cp) {
  return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F) || IsBidiControl(cp);
}

// "\x1B" for a byte or an ASCII control, "\u009B" for any other character.
std::string Escape(char32_t cp, bool asByte = false) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const bool shortForm = asByte || cp < 0x80;
  std::string escape = shortForm ? "\\x" : "\\u";
  for (int shift = shortForm ? 4 : 12; shift >= 0; shift -= 4)
    escape += kHex[(cp >> shift) & 0xF];
  return escape;
}

}  // namespace

std::string VisibleText(std::string_view utf8Line) {
  std::string visible;
  visible.reserve(utf8Line.size());
  size_t pos = 0;
  while (pos < utf8Line.size()) {
    const size_t start = pos;
    const char32_t cp = NextCodePoint(utf8Line, pos);
    if (cp == kReplacementChar && pos - start == 1) {
      // An ill-formed byte, such as a lone 0x9B that 8-bit terminals obey.
      visible += Escape(static_cast<unsigned char>(utf8Line[start]), true);
    } else if (MustEscape(cp)) {
      visible += Escape(cp);
    } else {
      visible.append(utf8Line.substr(start, pos - start));
    }
  }
  return visible;
}

}  // namespace Platform
