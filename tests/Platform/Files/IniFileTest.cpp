#include "Platform/Files/IniFile.hpp"

#include <gtest/gtest.h>

#include "support/TempDir.hpp"

namespace Platform {
namespace {

std::string Read(const std::string& content, const char* section, const char* key) {
  TestSupport::TempDir dir;
  return IniFile(dir.Write("s.ini", content)).ReadString(section, key, "<default>");
}

struct IniCase {
  const char* Name;
  std::string Content;
  const char* Expected;
  friend void PrintTo(const IniCase& c, std::ostream* out) { *out << c.Name; }
};

class IniFileTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniFileTest, ReadsHostToken) {
  EXPECT_EQ(Read(GetParam().Content, "Host", "Token"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileTest,
    ::testing::Values(IniCase{"Plain", "[Host]\nToken=abc\n", "abc"},
                      IniCase{"CaseAndBlanks", "  [ host ]\r\n  TOKEN  =  a b  \r\n", "a b"},
                      IniCase{"DoubleQuotes", "[Host]\nToken=\" abc \"\n", " abc "},
                      IniCase{"SingleQuotes", "[Host]\nToken='abc'\n", "abc"},
                      IniCase{"OnlyOnePairDropped", "[Host]\nToken=\"\"abc\"\"\n", "\"abc\""},
                      IniCase{"MismatchedQuotesKept", "[Host]\nToken=\"abc'\n", "\"abc'"},
                      IniCase{"EmptyValueIsNotDefault", "[Host]\nToken=\n", ""},
                      IniCase{"FirstMatchWins", "[Host]\nToken=a\nToken=b\n[Host]\nToken=c\n", "a"},
                      IniCase{"CommentAndNoEquals", "[Host]\n;Token=x\nToken\nToken=y\n", "y"},
                      IniCase{"OtherSection", "[Other]\nToken=x\n[Host]\nURL=u\n", "<default>"},
                      IniCase{"NoSection", "Token=x\n", "<default>"},
                      IniCase{"EqualsInValue", "[Host]\nToken=a=b\n", "a=b"},
                      IniCase{"Utf8Bom", "\xEF\xBB\xBF[Host]\nToken=\xC3\xA9\n", "\xC3\xA9"},
                      IniCase{
                          "Utf16LeBom",
                          std::string("\xFF\xFE[\0H\0o\0s\0t\0]\0\n\0T\0o\0k\0e\0n\0=\0\xE9\0", 30),
                          "\xC3\xA9"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(IniFileLimitsTest, ValueIsCutAt2047Utf16Units) {
  const std::string longValue(3000, 'x');
  EXPECT_EQ(Read("[Host]\nToken=" + longValue + "\n", "Host", "Token"), std::string(2047, 'x'));
  // A character outside the BMP takes two units and is not split.
  const std::string astral = std::string(2046, 'x') + "\xF0\x9F\x98\x80";
  EXPECT_EQ(Read("[Host]\nToken=" + astral + "\n", "Host", "Token"), std::string(2046, 'x'));
}

TEST(IniFileLimitsTest, MissingFileGivesDefaults) {
  EXPECT_EQ(IniFile("/nonexistent/quillpost.ini").ReadString("Host", "URL", "d"), "d");
}

}  // namespace
}  // namespace Platform
