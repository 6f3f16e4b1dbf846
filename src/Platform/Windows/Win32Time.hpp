#pragma once
// Calendar fields to and from the Windows SYSTEMTIME, and FILETIME's count
// of 100 ns steps since 1601 to and from Unix time. For the Windows platform
// files only.
#include <windows.h>

#include <cstdint>

#include "Platform/Time/CalendarFields.hpp"

namespace Platform {

inline constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
inline constexpr std::int64_t kFileTimeTicksPerSecond = 10000000;

inline std::int64_t FileTimeTicks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

// Whole seconds since 1970, rounded down.
inline std::int64_t UnixSecondsOf(const FILETIME& time) {
  return FileTimeTicks(time) / kFileTimeTicksPerSecond - kSecondsFrom1601To1970;
}

// An instant from 1601 on.
inline FILETIME FileTimeOfUnixSeconds(std::int64_t unixSeconds) {
  const auto ticks =
      static_cast<std::uint64_t>((unixSeconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond);
  return {static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

inline SYSTEMTIME SystemTimeOf(const CalendarFields& fields) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(fields.Year);
  time.wMonth = static_cast<WORD>(fields.Month);
  time.wDay = static_cast<WORD>(fields.Day);
  time.wHour = static_cast<WORD>(fields.Hour);
  time.wMinute = static_cast<WORD>(fields.Minute);
  time.wSecond = static_cast<WORD>(fields.Second);
  time.wMilliseconds = static_cast<WORD>(fields.Millisecond);
  return time;
}

inline CalendarFields FieldsOf(const SYSTEMTIME& time) {
  return {time.wYear,   time.wMonth,  time.wDay,         time.wHour,
          time.wMinute, time.wSecond, time.wMilliseconds};
}

}  // namespace Platform
