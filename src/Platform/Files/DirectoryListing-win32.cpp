#include <windows.h>

#include "Platform/Files/DirectoryListing.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {
namespace {

struct FindHandleTraits {
  using Type = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { ::FindClose(handle); }
};
using FindHandle = OwnedHandle<FindHandleTraits>;

// What a reparse point leads to, as the system opens it.
EntryKind KindBehind(const std::wstring& path) {
  Win32Handle target(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!target.Valid() || !::GetFileInformationByHandle(target.Get(), &info))
    return EntryKind::Other;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory
                                                            : EntryKind::File;
}

}  // namespace

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries,
                   std::string& failure) {
  WIN32_FIND_DATAW data;
  const std::wstring folder = WideText(path);
  FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find.Valid()) {
    failure = Win32ErrorText(::GetLastError());
    return false;
  }
  entries.clear();
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..")
      continue;
    DirectoryEntry entry;
    entry.Name = Utf8Text(name);
    entry.SymbolicLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (entry.SymbolicLink)
      entry.Kind = KindBehind(folder + L"\\" + name);
    else
      entry.Kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory
                                                                      : EntryKind::File;
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(find.Get(), &data));
  return true;
}

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(WideText(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  stamp.Size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const std::uint64_t ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
  stamp.ModifiedNanoseconds = static_cast<std::int64_t>(ticks) * 100;
  return true;
}

}  // namespace Platform
