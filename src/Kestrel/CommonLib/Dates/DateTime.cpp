#include "Kestrel/CommonLib/Dates/DateTime.hpp"

#include <cmath>

namespace Kestrel::CommonLib {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::int64_t DaysFromCivil(int year, int month, int day) {
  return Platform::DaysSinceUnixEpoch(year, month, day) +
         static_cast<std::int64_t>(kUnixEpochDateTime);
}

TDateTime EncodeDateTime(const TDateTimeFields& f) {
  const double days = static_cast<double>(DaysFromCivil(f.Year, f.Month, f.Day));
  const double ms = ((f.Hour * 60.0 + f.Minute) * 60.0 + f.Second) * 1000.0 + f.Millisecond;
  // Before the 1899-12-30 origin the fraction counts forward from the (negative) day.
  return days >= 0 ? days + ms / kMsPerDay : days - ms / kMsPerDay;
}

TDateTimeFields DecodeDateTime(TDateTime value) {
  const double wholeDays = std::trunc(value);
  auto ms = static_cast<std::int64_t>(std::llround(std::fabs(value - wholeDays) * kMsPerDay));
  auto days = static_cast<std::int64_t>(wholeDays);
  if (ms >= static_cast<std::int64_t>(kMsPerDay)) {
    ms -= static_cast<std::int64_t>(kMsPerDay);
    days += value >= 0 ? 1 : -1;
  }
  TDateTimeFields f;
  Platform::CivilFromUnixDays(days - static_cast<std::int64_t>(kUnixEpochDateTime), f.Year, f.Month,
                              f.Day);
  f.Millisecond = static_cast<int>(ms % 1000);
  f.Second = static_cast<int>(ms / 1000 % 60);
  f.Minute = static_cast<int>(ms / 60000 % 60);
  f.Hour = static_cast<int>(ms / 3600000);
  return f;
}

}  // namespace Kestrel::CommonLib
