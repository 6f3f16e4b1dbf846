#include <windows.h>

#include <cstdio>
#include <vector>

#include "Platform/Console/Version.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {
namespace {

struct Translation {
  WORD Language;
  WORD CodePage;
};

// The value of one "\StringFileInfo\LLLLCCCC\FileVersion" entry, or empty.
std::string FileVersionOf(const std::vector<char>& resource, WORD language, WORD codePage) {
  wchar_t block[64];
  std::swprintf(block, 64, L"\\StringFileInfo\\%04X%04X\\FileVersion", language, codePage);
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(resource.data(), block, &value, &length) || value == nullptr || length == 0)
    return {};
  return Utf8Text(static_cast<const wchar_t*>(value));
}

}  // namespace

// Read from the executable's version resource, as Explorer shows it: the
// Japanese and US English blocks first, then each block the translation
// table names. Empty when there is none.
std::string CompiledFileVersion() {
  const std::wstring exe = WideText(ExecutablePath());
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0)
    return {};
  std::vector<char> resource(size, '\0');
  if (!::GetFileVersionInfoW(exe.c_str(), 0, size, resource.data()))
    return {};
  for (const Translation known : {Translation{0x0411, 0x03A4}, Translation{0x0409, 0x04E4}}) {
    if (std::string version = FileVersionOf(resource, known.Language, known.CodePage);
        !version.empty())
      return version;
  }
  void* table = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", &table, &length))
    return {};
  const auto* entries = static_cast<const Translation*>(table);
  for (UINT i = 0; i < length / sizeof(Translation); ++i) {
    if (std::string version = FileVersionOf(resource, entries[i].Language, entries[i].CodePage);
        !version.empty())
      return version;
  }
  return {};
}

}  // namespace Platform
