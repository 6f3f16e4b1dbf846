#pragma once
// Text in a Windows code page, to and from UTF-8 through the system's
// converters. For the Windows platform files only.
#include <windows.h>

#include <string>
#include <string_view>

#include "Platform/Text/Utf8.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {

// Bytes the code page has no character for become what the system puts in
// their place; false only when the system refuses the conversion
// (`flags` = MB_ERR_INVALID_CHARS and ill-formed bytes, or an unknown code page).
inline bool DecodeCodePage(std::string_view bytes, UINT codePage, DWORD flags, std::string& text) {
  if (bytes.empty()) {
    text.clear();
    return true;
  }
  if (bytes.size() > 0x7FFFFFFF)
    return false;
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0)
    return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
  text = Utf8Text(wide);
  return true;
}

// Characters the code page cannot hold are replaced as the system replaces them.
inline std::string EncodeCodePage(std::string_view utf8, UINT codePage) {
  if (codePage == CP_UTF8)
    return SanitizeUtf8(utf8);
  const std::wstring wide = WideText(utf8);
  if (wide.empty())
    return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// True for a handle that is a console (not a file, a pipe or a serial device).
inline bool IsConsoleHandle(HANDLE handle) {
  DWORD mode = 0;
  return ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode);
}

}  // namespace Platform
