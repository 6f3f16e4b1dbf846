#pragma once
// UTF-8 text to and from the UTF-16 of the Windows API (wchar_t is 16 bits
// there). For the Windows platform files only.
#include <string>
#include <string_view>

#include "Platform/Text/Utf16.hpp"

namespace Platform {

inline std::wstring WideText(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8Text(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace Platform
