#pragma once
// The text of an HTTP answer in the charset its Content-Type names.
#include <string>
#include <string_view>

namespace Platform {

// Decodes `bytes` from the named charset: UTF-8 and ASCII, and Latin-1 or
// Windows-1252 (both read as Windows-1252); false for any other charset,
// which the caller reads as UTF-8. Undecodable bytes become U+FFFD; nothing
// here trusts a general converter with network bytes.
bool DecodeCharset(std::string_view bytes, const std::string& charset, std::string& text);

}  // namespace Platform
