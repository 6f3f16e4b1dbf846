#include <windows.h>

#include "Platform/Http/SystemMediaTypes.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {

// The "Content Type" that programs register under HKEY_CLASSES_ROOT\.ext.
std::string SystemMediaType(std::string_view extension) {
  if (extension.empty())
    return {};
  const std::wstring key = WideText("." + std::string(extension));
  wchar_t value[256];
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"Content Type", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
    return {};
  const size_t length = size / sizeof(wchar_t);
  return Utf8Text(std::wstring_view(value, length > 0 ? length - 1 : 0));
}

}  // namespace Platform
