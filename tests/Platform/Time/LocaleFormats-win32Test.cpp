#include <gtest/gtest.h>

#include "Platform/Time/LocaleFormats.hpp"

namespace Platform {
namespace {

TEST(LocaleFormatsWin32Test, SeparatorsAndDateOrderOfNamedLocales) {
  const LocaleDateConventions german = DateConventionsOf("de_DE.UTF-8");
  EXPECT_EQ(german.DateSeparator, ".");
  EXPECT_EQ(german.TimeSeparator, ":");
  // Day, month, year: the order the date parser takes from the pattern.
  EXPECT_LT(german.ShortDatePattern.find('d'), german.ShortDatePattern.find('M'));
  EXPECT_LT(german.ShortDatePattern.find('M'), german.ShortDatePattern.find('y'));
  const LocaleDateConventions american = DateConventionsOf("en_US");
  EXPECT_EQ(american.DateSeparator, "/");
  EXPECT_LT(american.ShortDatePattern.find('M'), american.ShortDatePattern.find('d'));
  EXPECT_EQ(american.AmDesignator, "AM");
  EXPECT_EQ(DateConventionsOf("ja_JP.UTF-8").DateSeparator, "/");
  EXPECT_EQ(DateConventionsOf("C").DateSeparator, "/");
  EXPECT_EQ(DateConventionsOf("POSIX").TimeSeparator, ":");
}

TEST(LocaleFormatsWin32Test, FormatsInTheUsersLocale) {
  const std::string text = FormatLocalDateTime({2024, 3, 31, 2, 30, 5, 0});
  EXPECT_NE(text.find("2024"), std::string::npos) << text;
  EXPECT_NE(text.find("30"), std::string::npos) << text;
}

}  // namespace
}  // namespace Platform
