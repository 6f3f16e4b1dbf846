#include "JoplinRestUtils/UnixTime.hpp"

#include "Platform/Time/LocalTime.hpp"
#include "Platform/Time/LocaleFormats.hpp"

namespace JoplinRestUtils {

std::int64_t DateTimeToUnixMs(Kestrel::CommonLib::TDateTime value) {
  const Kestrel::CommonLib::TDateTimeFields local = Kestrel::CommonLib::DecodeDateTime(value);
  std::int64_t seconds = 0;
  if (Platform::LocalToUtc(local, seconds) == Platform::LocalTimeKind::Skipped) {
    throw EInvalidLocalTime("\"" + Platform::FormatLocalDateTime(local) +
                            "\" is not a valid local time: it lies in the gap skipped when "
                            "daylight saving time begins");
  }
  const std::int64_t utcMs = seconds * 1000 + local.Millisecond;
  return utcMs / 1000 * 1000;  // division truncates toward zero on both sides of the epoch
}

}  // namespace JoplinRestUtils
