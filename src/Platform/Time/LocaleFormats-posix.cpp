#include "Platform/Time/LocaleFormats.hpp"

#include <unicode/udat.h>
#include <unicode/ustring.h>

#include <clocale>
#include <memory>
#include <vector>

#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/Charset.hpp"
#include "Platform/Text/Utf8.hpp"

namespace Platform {
namespace {

struct DateFormatCloser {
  void operator()(UDateFormat* format) const { udat_close(format); }
};
using DateFormatHandle = std::unique_ptr<UDateFormat, DateFormatCloser>;

// "de_DE.UTF-8@euro" becomes "de_DE"; the C and POSIX locales become en_US_POSIX.
std::string IcuLocaleName(const std::string& name) {
  const std::string base = name.substr(0, name.find_first_of(".@"));
  if (base.empty() || base == "C" || base == "POSIX")
    return "en_US_POSIX";
  return base;
}

// The LC_TIME locale of the user's environment, e.g. "de_DE.UTF-8".
std::string UserTimeLocale() {
  InitLocale();
  const char* name = std::setlocale(LC_TIME, nullptr);
  return name ? name : "C";
}

std::string ToUtf8(const UChar* units, int32_t length) {
  std::string text;
  std::vector<char> buffer(static_cast<size_t>(length) * 4 + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t written = 0;
  u_strToUTF8(buffer.data(), static_cast<int32_t>(buffer.size()), &written, units, length, &status);
  if (U_SUCCESS(status))
    text.assign(buffer.data(), static_cast<size_t>(written));
  return text;
}

DateFormatHandle OpenFormat(UDateFormatStyle timeStyle, UDateFormatStyle dateStyle,
                            const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const UChar utc[] = {'U', 'T', 'C', 0};
  DateFormatHandle format(
      udat_open(timeStyle, dateStyle, locale.c_str(), utc, -1, nullptr, 0, &status));
  return U_SUCCESS(status) ? std::move(format) : DateFormatHandle();
}

std::string PatternOf(const DateFormatHandle& format) {
  if (!format)
    return {};
  UChar buffer[256];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = udat_toPattern(format.get(), false, buffer, 256, &status);
  return U_SUCCESS(status) ? ToUtf8(buffer, length) : std::string();
}

std::string Symbol(const DateFormatHandle& format, UDateFormatSymbolType type, int32_t index) {
  if (!format)
    return {};
  UChar buffer[64];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = udat_getSymbols(format.get(), type, index, buffer, 64, &status);
  return U_SUCCESS(status) ? ToUtf8(buffer, length) : std::string();
}

// The first character of a pattern that is neither a field letter nor quoted
// text nor a blank; `fallback` when there is none.
std::string FirstSeparator(const std::string& pattern, const char* fallback) {
  bool quoted = false;
  size_t pos = 0;
  while (pos < pattern.size()) {
    const size_t start = pos;
    const char32_t cp = NextCodePoint(pattern, pos);
    if (cp == '\'') {
      quoted = !quoted;
    } else if (!quoted && cp != ' ' && cp != 0xA0 && cp != 0x202F &&
               !(cp < 0x80 && IsAsciiLetter(static_cast<char>(cp)))) {
      return pattern.substr(start, pos - start);
    }
  }
  return fallback;
}

}  // namespace

LocaleDateConventions DateConventionsOf(const std::string& localeName) {
  const std::string locale = IcuLocaleName(localeName);
  LocaleDateConventions conventions;
  const DateFormatHandle date = OpenFormat(UDAT_NONE, UDAT_SHORT, locale);
  const DateFormatHandle time = OpenFormat(UDAT_SHORT, UDAT_NONE, locale);
  conventions.ShortDatePattern = PatternOf(date);
  conventions.ShortTimePattern = PatternOf(time);
  conventions.DateSeparator = FirstSeparator(conventions.ShortDatePattern, "/");
  conventions.TimeSeparator = FirstSeparator(conventions.ShortTimePattern, ":");
  const std::string am = Symbol(time, UDAT_AM_PMS, 0);
  const std::string pm = Symbol(time, UDAT_AM_PMS, 1);
  if (!am.empty())
    conventions.AmDesignator = am;
  if (!pm.empty())
    conventions.PmDesignator = pm;
  return conventions;
}

const LocaleDateConventions& UserDateConventions() {
  static const LocaleDateConventions conventions = DateConventionsOf(UserTimeLocale());
  return conventions;
}

std::string FormatLocalDateTime(const CalendarFields& fields) {
  const DateFormatHandle format =
      OpenFormat(UDAT_MEDIUM, UDAT_SHORT, IcuLocaleName(UserTimeLocale()));
  if (!format)
    return {};
  UErrorCode status = U_ZERO_ERROR;
  // The fields are shown as they are: format them as a UTC instant in a UTC formatter.
  const auto days = static_cast<double>(DaysSinceUnixEpoch(fields.Year, fields.Month, fields.Day));
  const UDate instant =
      ((days * 24 + fields.Hour) * 60 + fields.Minute) * 60000.0 + fields.Second * 1000.0;
  UChar buffer[128];
  const int32_t length = udat_format(format.get(), instant, buffer, 128, nullptr, &status);
  return U_SUCCESS(status) ? ToUtf8(buffer, length) : std::string();
}

}  // namespace Platform
