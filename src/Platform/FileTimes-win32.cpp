#include <windows.h>

#include "Platform/FileTimes.hpp"
#include "Platform/Win32Handle.hpp"
#include "Platform/Win32Text.hpp"

namespace Platform {
namespace {

// FILETIME counts 100 ns steps from 1601-01-01.
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

FileInstant FromFileTime(const FILETIME& time) {
  const std::int64_t ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return {ticks / 10000000 - kSecondsFrom1601To1970,
          static_cast<std::uint32_t>(ticks % 10000000) * 100};
}

}  // namespace

bool ReadFileTimes(const std::string& path, FileTimeStamps& times) {
  if (path.empty())
    return false;
  // Times only: no access right is asked for, and every share mode is granted,
  // so that a file that another program holds open (a scanner still writing,
  // an editor) still gives its times.
  Win32Handle file(::CreateFileW(WideText(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  FILETIME creation{}, lastAccess{}, lastWrite{};
  if (!file.Valid() || !::GetFileTime(file.Get(), &creation, &lastAccess, &lastWrite))
    return false;
  times.Creation = FromFileTime(creation);
  times.LastWrite = FromFileTime(lastWrite);
  times.LastAccess = FromFileTime(lastAccess);
  return true;
}

}  // namespace Platform
