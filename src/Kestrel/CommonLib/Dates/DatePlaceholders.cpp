#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"

#include <cstdio>

#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Time/LocaleFormats.hpp"

namespace Kestrel::CommonLib {
namespace {

std::string TwoDigits(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

std::string DatePart(const TDateTimeFields& f) {
  const std::string& separator = Platform::UserDateConventions().DateSeparator;
  char year[8];
  std::snprintf(year, sizeof year, "%04d", f.Year);
  return year + separator + TwoDigits(f.Month) + separator + TwoDigits(f.Day);
}

std::string TimePart(int hour, int minute, int second) {
  const std::string& separator = Platform::UserDateConventions().TimeSeparator;
  return TwoDigits(hour) + separator + TwoDigits(minute) + separator + TwoDigits(second);
}

int DigitsValue(std::string_view digits, size_t from, size_t count) {
  int value = 0;
  for (size_t i = from; i < from + count; ++i)
    value = value * 10 + (digits[i] - '0');
  return value;
}

std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view tag,
                                   std::string_view value) {
  return ReplaceText(text, tag, value, false, true);
}

}  // namespace

std::string FormatPlaceholderDateTime(TDateTime value) {
  const TDateTimeFields f = DecodeDateTime(value);
  return DatePart(f) + " " + TimePart(f.Hour, f.Minute, f.Second);
}

std::string FormatPlaceholderDate(TDateTime value) {
  return DatePart(DecodeDateTime(value)) + " " + TimePart(0, 0, 0);
}

bool TryDateFromFileName(std::string_view text, TDateTime& value) {
  const std::string digits = KeepChars(text, "0123456789");
  if (digits.size() < 8)
    return false;
  TDateTimeFields f;
  f.Year = DigitsValue(digits, 0, 4);
  f.Month = DigitsValue(digits, 4, 2);
  f.Day = DigitsValue(digits, 6, 2);
  if (f.Year < 1891 || f.Year > 2099 || !IsValidDate(f.Year, f.Month, f.Day))
    return false;
  if (digits.size() >= 12) {
    const int hour = DigitsValue(digits, 8, 2);
    const int minute = DigitsValue(digits, 10, 2);
    if (hour <= 23 && minute <= 59) {
      f.Hour = hour;
      f.Minute = minute;
    }
  }
  value = EncodeDateTime(f);
  return true;
}

std::string ReplaceFileTimeTags(const std::string& path, std::string_view text) {
  TDateTime creation, lastWrite, lastAccess;
  GetFileTimes(path, creation, lastWrite, lastAccess);
  std::string result(text);
  result = ReplaceAllIgnoringCase(result, "%FileCTime%", FormatPlaceholderDateTime(creation));
  result = ReplaceAllIgnoringCase(result, "%FileMTime%", FormatPlaceholderDateTime(lastWrite));
  result = ReplaceAllIgnoringCase(result, "%FileATime%", FormatPlaceholderDateTime(lastAccess));
  result = ReplaceAllIgnoringCase(result, "%FileTime%", FormatPlaceholderDateTime(lastWrite));
  return ReplaceAllIgnoringCase(result, "filetime", FormatPlaceholderDateTime(lastWrite));
}

std::string ReplaceFileNameDateTags(const std::string& path, std::string_view text) {
  TDateTime date = 0;
  if (!TryDateFromFileName(path, date))
    date = NowDateTime();
  const std::string result =
      ReplaceAllIgnoringCase(text, "%FileNameDateTime%", FormatPlaceholderDateTime(date));
  return ReplaceAllIgnoringCase(result, "%FileNameDate%", FormatPlaceholderDate(date));
}

}  // namespace Kestrel::CommonLib
