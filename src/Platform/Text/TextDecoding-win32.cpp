#include <windows.h>

#include "Platform/Text/TextDecoding.hpp"
#include "Platform/Text/Utf16.hpp"
#include "Platform/Windows/Win32CodePages.hpp"

namespace Platform {
namespace {

// The system's strict check: ill-formed sequences, surrogates and overlong
// forms fail. It only counts, so a large body is not copied to find out.
bool IsStrictUtf8(std::string_view bytes) {
  if (bytes.empty())
    return true;
  if (bytes.size() > 0x7FFFFFFF)
    return false;
  return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                               static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

}  // namespace

// "Windows-1252" on Western systems, "Windows-1250" in Central Europe.
const std::string& AnsiCodePageName() {
  static const std::string name = "Windows-" + std::to_string(::GetACP());
  return name;
}

bool DecodeBytes(std::string_view bytes, TextEncoding encoding, std::string& text) {
  switch (encoding) {
    case TextEncoding::Utf8:
      if (!IsStrictUtf8(bytes))
        return false;
      text.assign(bytes);
      return true;
    case TextEncoding::Ansi:
      return DecodeCodePage(bytes, ::GetACP(), 0, text);
    case TextEncoding::Utf16Le:
      text = DecodeUtf16LeBytes(bytes);
      return true;
    case TextEncoding::Utf7:
      return DecodeCodePage(bytes, CP_UTF7, 0, text);
  }
  return false;
}

bool DecodeBytes(std::string&& bytes, TextEncoding encoding, std::string& text) {
  if (encoding != TextEncoding::Utf8)
    return DecodeBytes(std::string_view(bytes), encoding, text);
  if (!IsStrictUtf8(bytes))
    return false;
  text = std::move(bytes);
  return true;
}

}  // namespace Platform
