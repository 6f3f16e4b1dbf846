#pragma once
// Calendar fields to and from the Windows SYSTEMTIME. For the Windows
// platform files only.
#include <windows.h>

#include "Platform/CalendarFields.hpp"

namespace Platform {

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
