#include <gtest/gtest.h>

#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/MarkdownEscape.hpp"
#include "JoplinRestUtils/UnixTime.hpp"
#include "support/TestEnvironment.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::EncodeDateTime;
using Kestrel::CommonLib::kUnixEpochDateTime;

TEST(UnixTimeTest, WholeSecondsTowardZero) {
  TestSupport::ScopedTimeZone zone("UTC");
  const double second = 1.0 / 86400;
  EXPECT_EQ(DateTimeToUnixMs(kUnixEpochDateTime), 0);
  EXPECT_EQ(DateTimeToUnixMs(kUnixEpochDateTime + 1.5 * second), 1000);
  EXPECT_EQ(DateTimeToUnixMs(kUnixEpochDateTime - 1.5 * second), -1000);
  EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({1899, 12, 30, 0, 0, 0, 0})), -2209161600000);
}

TEST(UnixTimeTest, ZoneRulesOfTheDate) {
  {
    TestSupport::ScopedTimeZone zone("Asia/Tokyo");
    EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 1, 15, 10, 30, 45, 900})), 1705282245000);
  }
  TestSupport::ScopedTimeZone zone("Europe/Berlin");
  EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 7, 1, 14, 0, 0, 0})), 1719835200000);
  EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 1, 5, 15, 4, 9, 0})), 1704463449000);
  // The repeated hour of 2024-10-27 is taken as standard time (+1).
  EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 10, 27, 2, 30, 0, 0})), 1729992600000);
  try {
    DateTimeToUnixMs(EncodeDateTime({2024, 3, 31, 2, 30, 0, 0}));
    FAIL() << "no error for a skipped hour";
  } catch (const EInvalidLocalTime& error) {
    EXPECT_STREQ(error.KindName(), "EInvalidLocalTime");
    EXPECT_NE(std::string(error.what()).find("2:30"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("daylight saving"), std::string::npos);
  }
}

// A repeated autumn hour is standard time: the reading with the smaller UTC
// offset, also in zones whose winter time counts as the daylight-saving half.
TEST(UnixTimeTest, RepeatedHourIsStandardTimeInEveryZone) {
  const struct {
    const char* Zone;
    std::int64_t UnixMs;                           // 2024-10-27 01:30 local
  } cases[] = {{"Europe/London", 1729992600000},   // 01:30 GMT
               {"Europe/Dublin", 1729992600000},   // 01:30 GMT, not 00:30 UTC in summer time
               {"Europe/Lisbon", 1729992600000}};  // 01:30 WET
  for (const auto& c : cases) {
    TestSupport::ScopedTimeZone zone(c.Zone);
    EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 10, 27, 1, 30, 0, 0})), c.UnixMs) << c.Zone;
  }
}

TEST(ImageFilesTest, SevenExtensionsInAnyCase) {
  for (const char* path : {"a.SVG", "b.jpeg", "x/photo.png", "c.Jpg", "d.bmp", "e.gif", "f.ico"})
    EXPECT_TRUE(IsImageFile(path)) << path;
  for (const char* path : {"c.webp", "d", "e.png.txt", "dir.png/file", ".png.", ""})
    EXPECT_FALSE(IsImageFile(path)) << path;
}

TEST(MarkdownEscapeTest, EscapesMarks) {
  EXPECT_EQ(EscapeMarkdown(""), "");
  EXPECT_EQ(EscapeMarkdown("a*b ~~c~~\n# h\n>q\n-l\n\n x"),
            "a\\*b \\\\~~c\\\\~~\r\n\\# h\r\n\\>q\r\n\\-l\r\n\r\n x\r\n");
}

}  // namespace
}  // namespace JoplinRestUtils
