#include "Platform/LocalTime.hpp"

#include <ctime>

namespace Platform {
namespace {

void EnsureZoneLoaded() {
  static const bool loaded = [] {
    tzset();
    return true;
  }();
  (void)loaded;
}

bool SameFields(const std::tm& a, const CalendarFields& b) {
  return a.tm_year + 1900 == b.Year && a.tm_mon + 1 == b.Month && a.tm_mday == b.Day &&
         a.tm_hour == b.Hour && a.tm_min == b.Minute && a.tm_sec == b.Second;
}

// mktime with a given daylight-saving guess; true when the result reads back
// as the same local fields, so that the guess names a real local time.
bool TryMakeTime(const CalendarFields& local, int isDst, std::time_t& result) {
  std::tm tm{};
  tm.tm_year = local.Year - 1900;
  tm.tm_mon = local.Month - 1;
  tm.tm_mday = local.Day;
  tm.tm_hour = local.Hour;
  tm.tm_min = local.Minute;
  tm.tm_sec = local.Second;
  tm.tm_isdst = isDst;
  result = std::mktime(&tm);
  std::tm back{};
  return localtime_r(&result, &back) != nullptr && SameFields(back, local) &&
         (isDst < 0 || back.tm_isdst == isDst);
}

}  // namespace

bool UtcToLocal(std::int64_t unixSeconds, int millisecond, CalendarFields& local) {
  EnsureZoneLoaded();
  const auto seconds = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  if (localtime_r(&seconds, &tm) == nullptr)
    return false;
  local = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
           tm.tm_min,         tm.tm_sec,     millisecond};
  return true;
}

LocalTimeKind LocalToUtc(const CalendarFields& local, std::int64_t& unixSeconds) {
  EnsureZoneLoaded();
  std::time_t standard = 0;
  std::time_t daylight = 0;
  if (TryMakeTime(local, 0, standard)) {
    unixSeconds = standard;
  } else if (TryMakeTime(local, 1, daylight)) {
    unixSeconds = daylight;
  } else if (TryMakeTime(local, -1, standard)) {
    unixSeconds = standard;  // zones whose offset changed for reasons other than DST
  } else {
    return LocalTimeKind::Skipped;
  }
  return LocalTimeKind::Valid;
}

CalendarFields NowLocal() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  CalendarFields local;
  UtcToLocal(now.tv_sec, static_cast<int>(now.tv_nsec / 1000000), local);
  return local;
}

}  // namespace Platform
