#include "Kestrel/CommonLib/Dates/DateTimeParser.hpp"

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"

namespace Kestrel::CommonLib {
namespace {

struct ParseCase {
  const char* Locale;
  const char* Text;
  const char* Expected;  // "yyyy/mm/dd hh:nn:ss.zzz", or nullptr when it cannot be read
};

std::string Show(TDateTime value) {
  const TDateTimeFields f = DecodeDateTime(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d.%03d", f.Year, f.Month, f.Day,
                f.Hour, f.Minute, f.Second, f.Millisecond);
  return buffer;
}

class DateTimeParserTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateTimeParserTest, Parses) {
  const ParseCase& c = GetParam();
  const auto locale = Platform::DateConventionsOf(c.Locale);
  const TDateTime today = EncodeDateTime({2026, 12, 10, 8, 9, 10, 11});
  TDateTime value = -1;
  const bool parsed = TryParseDateTime(c.Text, locale, today, value);
  if (c.Expected == nullptr) {
    EXPECT_FALSE(parsed) << c.Locale << " " << c.Text << " gave " << Show(value);
    EXPECT_EQ(value, -1);
  } else {
    ASSERT_TRUE(parsed) << c.Locale << " " << c.Text;
    EXPECT_EQ(Show(value), c.Expected) << c.Locale << " " << c.Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTimeParserTest,
    ::testing::Values(
        // The locale's own short date, with and without a time.
        ParseCase{"en_US.UTF-8", "1/5/2024", "2024/01/05 00:00:00.000"},
        ParseCase{"en_US.UTF-8", "01/05/24 3:04 PM", "2024/01/05 15:04:00.000"},
        ParseCase{"en_US.UTF-8", "1/5/2024 12:30:15 am", "2024/01/05 00:30:15.000"},
        ParseCase{"en_US.UTF-8", "1/5/2024 10:20:30.5", "2024/01/05 10:20:30.500"},
        ParseCase{"en_US.UTF-8", " 12/31/1999 23:59:59.999 ", "1999/12/31 23:59:59.999"},
        ParseCase{"de_DE.UTF-8", "05.01.2024", "2024/01/05 00:00:00.000"},
        ParseCase{"de_DE.UTF-8", "5.1.24 15:04:09", "2024/01/05 15:04:09.000"},
        ParseCase{"de_DE.UTF-8", "05.01.2024 15:04:09,123", "2024/01/05 15:04:09.123"},
        ParseCase{"ja_JP.UTF-8", "2024/01/05", "2024/01/05 00:00:00.000"},
        ParseCase{"ja_JP.UTF-8", "2024/1/5 9:05", "2024/01/05 09:05:00.000"},
        ParseCase{"ja_JP.UTF-8", "2024/01/05 午後3:04", "2024/01/05 15:04:00.000"},
        // The year-first form the placeholders write, in every locale.
        ParseCase{"en_US.UTF-8", "2024/01/05 15:04:09", "2024/01/05 15:04:09.000"},
        ParseCase{"de_DE.UTF-8", "2024.01.05 15:04:09", "2024/01/05 15:04:09.000"},
        ParseCase{"de_DE.UTF-8", "2024/01/05 15:04:09", "2024/01/05 15:04:09.000"},
        ParseCase{"ja_JP.UTF-8", "2024.01.05", "2024/01/05 00:00:00.000"},
        ParseCase{"C", "2024-01-05 15:04", "2024/01/05 15:04:00.000"},
        // ISO 8601.
        ParseCase{"en_US.UTF-8", "2024-01-05T10:30:00", "2024/01/05 10:30:00.000"},
        ParseCase{"de_DE.UTF-8", "2024-01-05T10:30", "2024/01/05 10:30:00.000"},
        ParseCase{"ja_JP.UTF-8", "2024-01-05", "2024/01/05 00:00:00.000"},
        // A time alone is today.
        ParseCase{"en_US.UTF-8", "7:45 PM", "2026/12/10 19:45:00.000"},
        ParseCase{"de_DE.UTF-8", "07:45:12", "2026/12/10 07:45:12.000"},
        // Anything else cannot be read.
        ParseCase{"en_US.UTF-8", "garbage", nullptr}, ParseCase{"en_US.UTF-8", "", nullptr},
        ParseCase{"en_US.UTF-8", "%FileMTime%", nullptr},
        ParseCase{"en_US.UTF-8", "2/30/2024", nullptr},
        ParseCase{"en_US.UTF-8", "2024-02-30", nullptr},
        ParseCase{"en_US.UTF-8", "1/5/2024 24:00", nullptr},
        ParseCase{"en_US.UTF-8", "1/5/2024 13:00 PM", nullptr},
        ParseCase{"en_US.UTF-8", "1/5/2024 10:60", nullptr},
        ParseCase{"de_DE.UTF-8", "05/01/2024", nullptr},
        ParseCase{"en_US.UTF-8", "1/5/2024 10:30 tomorrow", nullptr},
        ParseCase{"en_US.UTF-8", "2024/01-05", nullptr},
        ParseCase{"en_US.UTF-8", "24-01-05", nullptr}));

TEST(DateTimeParserFallbackTest, UnreadableValuesBecomeNow) {
  const TDateTime now = EncodeDateTime({2026, 12, 10, 8, 9, 10, 11});
  EXPECT_EQ(ParseDateTimeOrNow("not a date", now), now);
  EXPECT_EQ(ParseDateTimeOrNow("2024-01-05T10:30:00", now),
            EncodeDateTime({2024, 1, 5, 10, 30, 0, 0}));
}

}  // namespace
}  // namespace Kestrel::CommonLib
