#pragma once
// Date-time values: days since 1899-12-30 00:00:00 in local time, the time of
// day as the fraction, to the millisecond.
#include <cstdint>

#include "Platform/Time/CalendarFields.hpp"

namespace Kestrel::CommonLib {

using TDateTime = double;

inline constexpr TDateTime kUnixEpochDateTime = 25569.0;  // 1970-01-01 00:00:00
inline constexpr double kMsPerDay = 86400000.0;

using TDateTimeFields = Platform::CalendarFields;

bool IsValidDate(int year, int month, int day);
// The value of the fields; the fields must form a valid date and time.
TDateTime EncodeDateTime(const TDateTimeFields& fields);
TDateTimeFields DecodeDateTime(TDateTime value);
// Days since 1899-12-30 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day);

}  // namespace Kestrel::CommonLib
