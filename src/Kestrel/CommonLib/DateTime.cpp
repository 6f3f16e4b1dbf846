#include "Kestrel/CommonLib/DateTime.hpp"

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

// Howard Hinnant's days-from-civil, counted from 1970-01-01.
std::int64_t DaysSinceUnixEpoch(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::int64_t DaysFromCivil(int year, int month, int day) {
  return DaysSinceUnixEpoch(year, month, day) + static_cast<std::int64_t>(kUnixEpochDateTime);
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
  CivilFromDays(days - static_cast<std::int64_t>(kUnixEpochDateTime), f.Year, f.Month, f.Day);
  f.Millisecond = static_cast<int>(ms % 1000);
  f.Second = static_cast<int>(ms / 1000 % 60);
  f.Minute = static_cast<int>(ms / 60000 % 60);
  f.Hour = static_cast<int>(ms / 3600000);
  return f;
}

}  // namespace Kestrel::CommonLib
