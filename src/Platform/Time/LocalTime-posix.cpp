#include "Platform/Time/LocalTime.hpp"

#include <ctime>
#include <initializer_list>

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
  // Every reading of the fields that names a real local time is a candidate.
  // A repeated hour has two: standard time is the one with the smaller UTC
  // offset, the later instant. The zone's daylight-saving flag cannot tell,
  // since some zones (Europe/Dublin) mark their winter time as the saving one.
  bool found = false;
  std::time_t latest = 0;
  for (const int isDst : {0, 1, -1}) {
    std::time_t candidate = 0;
    if (TryMakeTime(local, isDst, candidate) && (!found || candidate > latest)) {
      latest = candidate;
      found = true;
    }
  }
  if (!found)
    return LocalTimeKind::Skipped;
  unixSeconds = latest;
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
