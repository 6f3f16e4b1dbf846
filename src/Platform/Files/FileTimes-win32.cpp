#include <windows.h>

#include "Platform/Files/FileTimes.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"
#include "Platform/Windows/Win32Time.hpp"

namespace Platform {
namespace {

FileInstant FromFileTime(const FILETIME& time) {
  return {UnixSecondsOf(time),
          static_cast<std::uint32_t>(FileTimeTicks(time) % kFileTimeTicksPerSecond) * 100};
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
