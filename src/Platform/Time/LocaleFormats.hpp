#pragma once
// The date and time conventions of the user's locale (LC_TIME), read through
// ICU so that every locale has its short date and time patterns.
#include <string>

#include "Platform/Time/CalendarFields.hpp"

namespace Platform {

struct LocaleDateConventions {
  std::string DateSeparator = "/";  // first separator of the short date pattern
  std::string TimeSeparator = ":";  // first separator of the short time pattern
  std::string ShortDatePattern;     // ICU pattern, e.g. "M/d/yy"
  std::string ShortTimePattern;     // ICU pattern, e.g. "h:mm a"
  std::string AmDesignator = "AM";
  std::string PmDesignator = "PM";
};

// Read once, at first use.
const LocaleDateConventions& UserDateConventions();

// The conventions of a named locale ("de_DE", "ja_JP.UTF-8", "C").
LocaleDateConventions DateConventionsOf(const std::string& localeName);

// The fields written in the locale's short date and medium time format.
std::string FormatLocalDateTime(const CalendarFields& fields);

}  // namespace Platform
