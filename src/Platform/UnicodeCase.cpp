#include "Platform/UnicodeCase.hpp"

#include <unicode/uchar.h>

namespace Platform {

char32_t SimpleUpperCase(char32_t codePoint) {
  return static_cast<char32_t>(u_toupper(static_cast<UChar32>(codePoint)));
}

}  // namespace Platform
