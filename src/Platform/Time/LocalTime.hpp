#pragma once
// Local time by the zone rules in force at each date (TZ, /etc/localtime).
#include <cstdint>

#include "Platform/Time/CalendarFields.hpp"

namespace Platform {

// The local calendar fields of a UTC instant (seconds since 1970 plus
// milliseconds); false when the instant cannot be represented.
bool UtcToLocal(std::int64_t unixSeconds, int millisecond, CalendarFields& local);

enum class LocalTimeKind { Valid, Skipped };

// The UTC seconds of local fields (milliseconds ignored). A repeated hour is
// taken as standard time; an hour skipped by daylight saving gives Skipped.
LocalTimeKind LocalToUtc(const CalendarFields& local, std::int64_t& unixSeconds);

// The clock's local date and time, to the millisecond.
CalendarFields NowLocal();

}  // namespace Platform
