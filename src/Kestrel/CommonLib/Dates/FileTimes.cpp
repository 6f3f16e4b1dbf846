#include "Kestrel/CommonLib/Dates/FileTimes.hpp"

#include "Platform/Files/FileTimes.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Time/LocalTime.hpp"

namespace Kestrel::CommonLib {
namespace {

TFileTime ToFileTime(const Platform::FileInstant& instant) {
  return kFileTimeOfUnixEpoch + instant.Seconds * 10000000 + instant.Nanoseconds / 100;
}

}  // namespace

TDateTime FileTimeToLocalDateTime(TFileTime fileTime) {
  const TFileTime sinceUnixEpoch = fileTime - kFileTimeOfUnixEpoch;
  std::int64_t seconds = sinceUnixEpoch / 10000000;
  std::int64_t remainder = sinceUnixEpoch % 10000000;
  if (remainder < 0) {
    remainder += 10000000;
    --seconds;
  }
  Platform::CalendarFields local;
  if (!Platform::UtcToLocal(seconds, static_cast<int>(remainder / 10000), local))
    return 0;
  if (!IsValidDate(local.Year, local.Month, local.Day))
    return 0;
  return EncodeDateTime(local);
}

TDateTime NowDateTime() {
  return EncodeDateTime(Platform::NowLocal());
}

bool GetFileTimes(const std::string& path, TDateTime& creation, TDateTime& lastWrite,
                  TDateTime& lastAccess) {
  creation = lastWrite = lastAccess = NowDateTime();
  Platform::FileTimeStamps times;
  if (!Platform::FileExists(path) && !Platform::DirectoryExists(path))
    return false;
  if (!Platform::ReadFileTimes(path, times))
    return false;
  creation = FileTimeToLocalDateTime(ToFileTime(times.Creation));
  lastWrite = FileTimeToLocalDateTime(ToFileTime(times.LastWrite));
  lastAccess = FileTimeToLocalDateTime(ToFileTime(times.LastAccess));
  return true;
}

}  // namespace Kestrel::CommonLib
