#pragma once
// Conversion between UTF-8 and UTF-16, the text form of the Windows API and
// of UTF-16LE files.
#include <string>
#include <string_view>

namespace Platform {

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
// Ill-formed UTF-8 bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Each pair of bytes is one code unit, low byte first; an odd last byte is dropped.
std::string DecodeUtf16LeBytes(std::string_view bytes);

}  // namespace Platform
