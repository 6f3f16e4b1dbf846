#include "Kestrel/CommonLib/Dates/DateTimeParser.hpp"

#include <array>
#include <vector>

#include "Kestrel/CommonLib/Dates/DateCursor.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Text/Ascii.hpp"

namespace Kestrel::CommonLib {
namespace {

enum class Field { Year, Month, Day };
using FieldOrder = std::array<Field, 3>;

FieldOrder OrderOfPattern(std::string_view pattern) {
  std::vector<Field> order;
  bool quoted = false;
  for (const char c : pattern) {
    if (c == '\'')
      quoted = !quoted;
    if (quoted)
      continue;
    Field field;
    if (c == 'y' || c == 'Y' || c == 'u') {
      field = Field::Year;
    } else if (c == 'M' || c == 'L') {
      field = Field::Month;
    } else if (c == 'd') {
      field = Field::Day;
    } else {
      continue;
    }
    bool seen = false;
    for (const Field known : order)
      seen = seen || known == field;
    if (!seen)
      order.push_back(field);
  }
  if (order.size() != 3)
    return {Field::Month, Field::Day, Field::Year};
  return {order[0], order[1], order[2]};
}

int ExpandYear(int year, size_t digits) {
  if (digits > 2)
    return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

// Three numbers in the given order, one separator (from `separators`) between.
bool ReadDate(TDateCursor& cursor, FieldOrder order, const std::vector<std::string>& separators,
              bool fourDigitYear, TDateTimeFields& fields) {
  std::string_view separator;
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0) {
      if (separator.empty()) {
        for (const auto& candidate : separators) {
          if (cursor.Literal(candidate)) {
            separator = candidate;
            break;
          }
        }
        if (separator.empty())
          return false;
      } else if (!cursor.Literal(separator)) {
        return false;
      }
    }
    int value = 0;
    size_t digits = 0;
    if (!cursor.Number(order[i] == Field::Year ? 4 : 2, value, digits))
      return false;
    switch (order[i]) {
      case Field::Year:
        if (fourDigitYear && digits != 4)
          return false;
        fields.Year = ExpandYear(value, digits);
        break;
      case Field::Month:
        fields.Month = value;
        break;
      case Field::Day:
        fields.Day = value;
        break;
    }
  }
  return IsValidDate(fields.Year, fields.Month, fields.Day);
}

// The AM/PM designator, if any: 0 none, 1 AM, 2 PM.
int ReadDesignator(TDateCursor& cursor, const Platform::LocaleDateConventions& locale) {
  const size_t start = cursor.Position();
  cursor.Blanks();
  if (cursor.Word(locale.AmDesignator) || cursor.Word("AM"))
    return 1;
  if (cursor.Word(locale.PmDesignator) || cursor.Word("PM"))
    return 2;
  cursor.Reset(start);
  return 0;
}

bool ReadTime(TDateCursor& cursor, const Platform::LocaleDateConventions& locale,
              TDateTimeFields& fields) {
  const auto separator = [&] {
    return cursor.Literal(locale.TimeSeparator) || cursor.Literal(":");
  };
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  size_t digits = 0;
  // Some locales (ja: "午後3:04") write the designator before the time.
  int designator = ReadDesignator(cursor, locale);
  cursor.Blanks();
  if (!cursor.Number(2, hour, digits) || !separator() || !cursor.Number(2, minute, digits) ||
      digits != 2)
    return false;
  if (separator()) {
    if (!cursor.Number(2, second, digits) || digits != 2)
      return false;
    if (cursor.Literal(".") || cursor.Literal(",")) {
      if (!cursor.Number(3, millisecond, digits))
        return false;
      for (; digits < 3; ++digits)
        millisecond *= 10;
    }
  }
  if (designator == 0)
    designator = ReadDesignator(cursor, locale);
  if (designator != 0) {
    if (hour < 1 || hour > 12)
      return false;
    hour = hour % 12 + (designator == 2 ? 12 : 0);
  }
  if (hour > 23 || minute > 59 || second > 59)
    return false;
  fields.Hour = hour;
  fields.Minute = minute;
  fields.Second = second;
  fields.Millisecond = millisecond;
  return true;
}

// A date, then either the end or a time after blanks or "T".
bool ReadDateAndTime(std::string_view text, FieldOrder order,
                     const std::vector<std::string>& separators, bool fourDigitYear,
                     const Platform::LocaleDateConventions& locale, TDateTimeFields& fields) {
  TDateCursor cursor(text);
  fields = TDateTimeFields{};
  if (!ReadDate(cursor, order, separators, fourDigitYear, fields))
    return false;
  if (cursor.AtEnd())
    return true;
  if (cursor.Blanks() == 0 && !cursor.Literal("T"))
    return false;
  return ReadTime(cursor, locale, fields) && cursor.AtEnd();
}

}  // namespace

bool TryParseDateTime(std::string_view text, const Platform::LocaleDateConventions& locale,
                      TDateTime today, TDateTime& value) {
  text = TrimText(text);
  TDateTimeFields fields;
  const bool parsed =
      ReadDateAndTime(text, OrderOfPattern(locale.ShortDatePattern), {locale.DateSeparator}, false,
                      locale, fields) ||
      ReadDateAndTime(text, {Field::Year, Field::Month, Field::Day},
                      {locale.DateSeparator, "-", "/", "."}, true, locale, fields) ||
      [&] {
        fields = DecodeDateTime(today);
        TDateCursor cursor(text);
        return ReadTime(cursor, locale, fields) && cursor.AtEnd();
      }();
  if (!parsed)
    return false;
  value = EncodeDateTime(fields);
  return true;
}

TDateTime ParseDateTimeOrNow(std::string_view text, TDateTime now) {
  TDateTime value = now;
  TryParseDateTime(text, Platform::UserDateConventions(), now, value);
  return value;
}

}  // namespace Kestrel::CommonLib
