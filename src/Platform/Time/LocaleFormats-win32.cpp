#include <windows.h>

#include "Platform/Time/LocaleFormats.hpp"
#include "Platform/Windows/Win32Text.hpp"
#include "Platform/Windows/Win32Time.hpp"

namespace Platform {
namespace {

// "de_DE.UTF-8@euro" becomes "de-DE"; the C and POSIX locales become the
// invariant locale, whose conventions are the English ones.
std::wstring WindowsLocaleName(const std::string& name) {
  std::string base = name.substr(0, name.find_first_of(".@"));
  if (base.empty() || base == "C" || base == "POSIX")
    return LOCALE_NAME_INVARIANT;
  for (char& c : base) {
    if (c == '_')
      c = '-';
  }
  return WideText(base);
}

std::string LocaleText(const wchar_t* locale, LCTYPE type, const std::string& fallback) {
  wchar_t buffer[128];
  const int length = ::GetLocaleInfoEx(locale, type, buffer, 128);
  return length > 1 ? Utf8Text(std::wstring_view(buffer, static_cast<size_t>(length - 1)))
                    : fallback;
}

LocaleDateConventions ConventionsOf(const wchar_t* locale) {
  LocaleDateConventions conventions;
  conventions.DateSeparator = LocaleText(locale, LOCALE_SDATE, "/");
  conventions.TimeSeparator = LocaleText(locale, LOCALE_STIME, ":");
  conventions.ShortDatePattern = LocaleText(locale, LOCALE_SSHORTDATE, "M/d/yyyy");
  conventions.ShortTimePattern = LocaleText(locale, LOCALE_SSHORTTIME, "h:mm tt");
  conventions.AmDesignator = LocaleText(locale, LOCALE_S1159, "AM");
  conventions.PmDesignator = LocaleText(locale, LOCALE_S2359, "PM");
  return conventions;
}

template <typename Format>
std::string FormattedText(Format format) {
  wchar_t buffer[128];
  const int length = format(buffer, 128);
  return length > 1 ? Utf8Text(std::wstring_view(buffer, static_cast<size_t>(length - 1))) : "";
}

}  // namespace

LocaleDateConventions DateConventionsOf(const std::string& localeName) {
  const std::wstring locale = WindowsLocaleName(localeName);
  return ConventionsOf(locale.c_str());
}

const LocaleDateConventions& UserDateConventions() {
  static const LocaleDateConventions conventions = ConventionsOf(LOCALE_NAME_USER_DEFAULT);
  return conventions;
}

std::string FormatLocalDateTime(const CalendarFields& fields) {
  const SYSTEMTIME time = SystemTimeOf(fields);
  const std::string date = FormattedText([&](wchar_t* buffer, int size) {
    return ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, size,
                             nullptr);
  });
  const std::string clock = FormattedText([&](wchar_t* buffer, int size) {
    return ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, size);
  });
  return date + " " + clock;
}

}  // namespace Platform
