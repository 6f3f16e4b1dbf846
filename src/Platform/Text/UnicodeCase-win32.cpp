#include <windows.h>

#include "Platform/Text/UnicodeCase.hpp"

namespace Platform {

// Linguistic casing in the invariant locale is Unicode's simple mapping, the
// same for every user (no Turkish dotted i). The system's plain casing
// (CharUpperBuffW) leaves some letters alone, such as "ǅ", "ı" and
// "µ", which would make a case-insensitive match differ from Linux.
char32_t SimpleUpperCase(char32_t codePoint) {
  if (codePoint < 0x80)
    return codePoint >= 'a' && codePoint <= 'z' ? codePoint - 32 : codePoint;
  wchar_t units[2];
  int count = 1;
  if (codePoint >= 0x10000) {
    units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(codePoint);
  }
  wchar_t upper[2];
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, units,
                      count, upper, 2, nullptr, nullptr, 0) != count)
    return codePoint;
  if (count == 2)
    return 0x10000 + ((static_cast<char32_t>(upper[0]) - 0xD800) << 10) +
           (static_cast<char32_t>(upper[1]) - 0xDC00);
  return upper[0];
}

}  // namespace Platform
