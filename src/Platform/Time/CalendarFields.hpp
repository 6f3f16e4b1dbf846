#pragma once
// A date and time of day split into its calendar fields, and the proleptic
// Gregorian day count behind them.
#include <cstdint>

namespace Platform {

struct CalendarFields {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Days from 1970-01-01 to the civil date (negative before it).
std::int64_t DaysSinceUnixEpoch(int year, int month, int day);
void CivilFromUnixDays(std::int64_t days, int& year, int& month, int& day);

}  // namespace Platform
