#pragma once
// Local date-time values as Unix epoch milliseconds.
#include <cstdint>

#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Platform/Console/Error.hpp"

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

// A UTC instant in whole seconds as Unix epoch milliseconds.
constexpr std::int64_t WholeSecondsAsUnixMs(std::int64_t unixSeconds) {
  return unixSeconds * 1000;
}

}  // namespace JoplinRestUtils
