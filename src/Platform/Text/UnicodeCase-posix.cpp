#include "Platform/Text/UnicodeCase.hpp"

#include <unicode/uchar.h>

namespace Platform {

char32_t SimpleUpperCase(char32_t codePoint) {
  // Most text is ASCII: no call into the library for it.
  if (codePoint < 0x80)
    return codePoint >= 'a' && codePoint <= 'z' ? codePoint - 32 : codePoint;
  return static_cast<char32_t>(u_toupper(static_cast<UChar32>(codePoint)));
}

}  // namespace Platform
