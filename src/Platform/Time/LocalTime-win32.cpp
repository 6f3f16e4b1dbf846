#include <windows.h>

#include "Platform/Time/LocalTime.hpp"
#include "Platform/Windows/Win32Time.hpp"

namespace Platform {
namespace {

bool UtcSecondsToSystemTime(std::int64_t unixSeconds, SYSTEMTIME& utc) {
  if (unixSeconds < -kSecondsFrom1601To1970 || unixSeconds > 900000000000)
    return false;
  const FILETIME time = FileTimeOfUnixSeconds(unixSeconds);
  return ::FileTimeToSystemTime(&time, &utc);
}

bool SystemTimeToUtcSeconds(const SYSTEMTIME& utc, std::int64_t& unixSeconds) {
  FILETIME time{};
  if (!::SystemTimeToFileTime(&utc, &time))
    return false;
  unixSeconds = UnixSecondsOf(time);
  return true;
}

bool SameFields(const CalendarFields& a, const CalendarFields& b) {
  return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour &&
         a.Minute == b.Minute && a.Second == b.Second;
}

}  // namespace

// Converted with the zone's rules for the instant's own date, not the offset in
// force today: a winter file read in summer keeps its winter hour.
bool UtcToLocal(std::int64_t unixSeconds, int millisecond, CalendarFields& local) {
  SYSTEMTIME utc{}, localTime{};
  if (!UtcSecondsToSystemTime(unixSeconds, utc) ||
      !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &localTime))
    return false;
  local = FieldsOf(localTime);
  local.Millisecond = millisecond;
  return true;
}

LocalTimeKind LocalToUtc(const CalendarFields& local, std::int64_t& unixSeconds) {
  if (local.Year < 1601 || local.Year > 30827)
    return LocalTimeKind::Skipped;
  SYSTEMTIME localTime = SystemTimeOf(local);
  localTime.wMilliseconds = 0;
  SYSTEMTIME utc{};
  std::int64_t guess = 0;
  if (!::TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc) ||
      !SystemTimeToUtcSeconds(utc, guess))
    return LocalTimeKind::Skipped;
  // Every instant within two hours of the system's guess that reads back as
  // the same fields is a candidate: a repeated hour has two, and standard
  // time is the later one. None means the hour was skipped.
  bool found = false;
  for (int halfHours = -4; halfHours <= 4; ++halfHours) {
    const std::int64_t candidate = guess + halfHours * 1800;
    CalendarFields back;
    if (UtcToLocal(candidate, 0, back) && SameFields(back, local) &&
        (!found || candidate > unixSeconds)) {
      unixSeconds = candidate;
      found = true;
    }
  }
  return found ? LocalTimeKind::Valid : LocalTimeKind::Skipped;
}

CalendarFields NowLocal() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return FieldsOf(now);
}

}  // namespace Platform
