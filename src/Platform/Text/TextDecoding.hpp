#pragma once
// Turns the bytes of a text file into UTF-8 text with a named encoding.
#include <string>
#include <string_view>

namespace Platform {

enum class TextEncoding {
  Utf8,     // strict: any ill-formed sequence fails
  Ansi,     // the ANSI code page (Windows-1252 on Linux); never fails
  Utf16Le,  // odd last byte dropped; unpaired surrogates become U+FFFD
  Utf7,     // RFC 2152
};

// The name of the code page that TextEncoding::Ansi reads ("Windows-1252").
const std::string& AnsiCodePageName();

// True with `text` set to the decoded bytes; false (text untouched) when the
// bytes cannot be decoded.
bool DecodeBytes(std::string_view bytes, TextEncoding encoding, std::string& text);
// The same, taking the bytes over so that valid UTF-8 is not copied.
bool DecodeBytes(std::string&& bytes, TextEncoding encoding, std::string& text);

}  // namespace Platform
