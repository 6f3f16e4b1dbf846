#pragma once
// Local date-time values as Unix epoch milliseconds.
#include <cstdint>

#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Platform/Console/Error.hpp"
#include "Platform/Files/FileTimes.hpp"

namespace JoplinRestUtils {

// A local time that does not exist: it lies in the hour skipped when daylight
// saving time begins.
class EInvalidLocalTime : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EInvalidLocalTime"; }
};

// Milliseconds since 1970-01-01 00:00:00 UTC by the zone rules of the value's
// own date, whole seconds only (the fraction dropped toward zero). A repeated
// hour is taken as standard time. Throws EInvalidLocalTime for a skipped hour.
std::int64_t DateTimeToUnixMs(Kestrel::CommonLib::TDateTime value);

// A file's UTC instant as Unix epoch milliseconds, whole seconds only: the
// fraction is dropped toward zero on both sides of 1970, so 1.5 s before it
// is -1000 ms (the system's seconds count down to -2 there, with 0.5 s on top).
constexpr std::int64_t WholeSecondsAsUnixMs(const Platform::FileInstant& instant) {
  const bool fractionBefore1970 = instant.Seconds < 0 && instant.Nanoseconds > 0;
  return (instant.Seconds + (fractionBefore1970 ? 1 : 0)) * 1000;
}

}  // namespace JoplinRestUtils
