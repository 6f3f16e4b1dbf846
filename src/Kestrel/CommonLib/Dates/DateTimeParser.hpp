#pragma once
// Reads a date-time the way the user writes them: the locale's short date
// (its field order and separator) optionally followed by a time (hours and
// minutes, optional seconds and milliseconds, optional AM/PM), or a time alone
// (today). In every locale also the year-first form the date placeholders
// write ("2024/01/05 15:04:09", with the locale's separators or "-", "/", ".")
// and ISO 8601 ("2024-01-05T10:30:00").
#include <string_view>

#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Platform/Time/LocaleFormats.hpp"

namespace Kestrel::CommonLib {

// True with `value` set; false (value untouched) for anything else.
bool TryParseDateTime(std::string_view text, const Platform::LocaleDateConventions& locale,
                      TDateTime today, TDateTime& value);

// The parsed text, or `now` when it cannot be read.
TDateTime ParseDateTimeOrNow(std::string_view text, TDateTime now);

}  // namespace Kestrel::CommonLib
