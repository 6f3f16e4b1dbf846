#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Platform/Time/LocaleFormats.hpp"
#include "support/TempDir.hpp"
#include "support/TestEnvironment.hpp"

namespace Kestrel::CommonLib {
namespace {

struct NameCase {
  const char* Name;
  bool Found;
  const char* Formatted;  // FormatPlaceholderDateTime of the value found
  friend void PrintTo(const NameCase& c, std::ostream* out) { *out << c.Name; }
};

TEST(DatePlaceholdersTest, DatesFromTheDigitsOfAName) {
  const NameCase cases[] = {
      {"report_20240105.md", true, "2024/01/05 00:00:00"},
      {"202401051530 notes.txt", true, "2024/01/05 15:30:00"},
      {"202401052561.txt", true, "2024/01/05 00:00:00"},
      {"2024010512.txt", true, "2024/01/05 00:00:00"},
      {"20240105153059.txt", true, "2024/01/05 15:30:00"},
      {"1891-01-01.txt", true, "1891/01/01 00:00:00"},
      {"2099-12-31.txt", true, "2099/12/31 00:00:00"},
      {"2024-02-29.txt", true, "2024/02/29 00:00:00"},
      {"1890-01-01.txt", false, ""},
      {"2100-01-01.txt", false, ""},
      {"2024-13-01.txt", false, ""},
      {"2024-00-10.txt", false, ""},
      {"2024-01-32.txt", false, ""},
      {"2023-02-29.txt", false, ""},
      {"take2 2024-01-05.txt", false, ""},
      {"2023/20240105.txt", false, ""},
      {"2024０1０5.txt", false, ""},  // only ASCII digits count
      {"1234567", false, ""},
  };
  for (const auto& c : cases) {
    TDateTime value = -1;
    EXPECT_EQ(TryDateFromFileName(c.Name, value), c.Found) << c.Name;
    if (c.Found) {
      EXPECT_EQ(FormatPlaceholderDateTime(value), c.Formatted) << c.Name;
    } else {
      EXPECT_EQ(value, -1) << c.Name;
    }
  }
}

TEST(DatePlaceholdersTest, FormatsDropMilliseconds) {
  const TDateTime value = EncodeDateTime({2024, 1, 5, 10, 20, 30, 999});
  EXPECT_EQ(FormatPlaceholderDateTime(value), "2024/01/05 10:20:30");
  EXPECT_EQ(FormatPlaceholderDate(value), "2024/01/05 00:00:00");
}

TEST(DatePlaceholdersTest, FileNamePlaceholders) {
  EXPECT_EQ(ReplaceFileNameDateTags("/x/scan_202401051530.pdf",
                                    "%filenamedatetime% | %FileNameDate% | %FILENAMEDATE%"),
            "2024/01/05 15:30:00 | 2024/01/05 00:00:00 | 2024/01/05 00:00:00");
  const std::string now = ReplaceFileNameDateTags("/2023/20240105.txt", "%FileNameDate%");
  EXPECT_EQ(now, FormatPlaceholderDate(NowDateTime()));
}

TEST(DatePlaceholdersTest, FileTimePlaceholders) {
  TestSupport::ScopedTimeZone zone("UTC");
  TestSupport::TempDir dir;
  const std::string file = dir.Write("a.txt", "x");
  const timespec times[2] = {{1704463449, 0}, {1719835200, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  EXPECT_EQ(ReplaceFileTimeTags(file, "m=%FileMTime% a=%fileatime% t=%filetime% w=XFileTimeX"),
            "m=2024/07/01 12:00:00 a=2024/01/05 14:04:09 t=2024/07/01 12:00:00 "
            "w=X2024/07/01 12:00:00X");
  const std::string missing = ReplaceFileTimeTags(dir / "missing", "%FileCTime%");
  EXPECT_EQ(missing.size(), 19u);
  EXPECT_EQ(ReplaceFileTimeTags(file, "no tags"), "no tags");
}

TEST(DatePlaceholdersTest, SeparatorsFollowTheLocale) {
  EXPECT_EQ(Platform::DateConventionsOf("de_DE.UTF-8").DateSeparator, ".");
  EXPECT_EQ(Platform::DateConventionsOf("de_DE.UTF-8").TimeSeparator, ":");
  EXPECT_EQ(Platform::DateConventionsOf("en_US.UTF-8").DateSeparator, "/");
  EXPECT_EQ(Platform::DateConventionsOf("ja_JP.UTF-8").DateSeparator, "/");
  EXPECT_EQ(Platform::DateConventionsOf("C").DateSeparator, "/");
  EXPECT_EQ(Platform::DateConventionsOf("POSIX").TimeSeparator, ":");
}

}  // namespace
}  // namespace Kestrel::CommonLib
