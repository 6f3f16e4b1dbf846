#pragma once
// The system's text for a Windows error code. For the Windows platform files only.
#include <windows.h>

#include <string>

#include "Platform/Windows/Win32Text.hpp"

namespace Platform {

// In English where the system has it, without the final period and line end,
// so that it reads like the other causes ("The system cannot find the file specified").
inline std::string Win32ErrorText(DWORD code) {
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t buffer[512];
  DWORD length = ::FormatMessageW(
      flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), buffer, 512, nullptr);
  if (length == 0)
    length = ::FormatMessageW(flags, nullptr, code, 0, buffer, 512, nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  return text.empty() ? "Windows error " + std::to_string(code) : Utf8Text(text);
}

}  // namespace Platform
