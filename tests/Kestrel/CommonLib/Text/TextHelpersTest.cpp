#include "Kestrel/CommonLib/Text/TextHelpers.hpp"

#include <gtest/gtest.h>

namespace Kestrel::CommonLib {
namespace {

TEST(TextHelpersTest, EmptinessWithAndWithoutTrim) {
  EXPECT_FALSE(IsEmptyText("   ", false));
  EXPECT_TRUE(IsEmptyText("   ", true));
  EXPECT_TRUE(IsEmptyText("\t\r\n\x01 ", true));
  EXPECT_FALSE(IsEmptyText("\u3000", true));
  EXPECT_FALSE(IsEmptyText("\u00A0", true));
  EXPECT_TRUE(IsNotEmptyText(" x ", true));
  EXPECT_EQ(TrimText("\x1F a b \x20"), "a b");
}

struct ReplaceCase {
  const char* Text;
  const char* Old;
  const char* New;
  bool CaseSensitive;
  bool All;
  const char* Expected;
};

class ReplaceTextTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, Replaces) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.Text, c.Old, c.New, c.CaseSensitive, c.All), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    ::testing::Values(
        ReplaceCase{"%FILENAME% and %filename%", "%FileName%", "x", false, true, "x and x"},
        ReplaceCase{"aaa", "aa", "b", true, true, "ba"},
        ReplaceCase{"a", "a", "aa", true, true, "aa"},
        ReplaceCase{"a-a-a", "a", "b", true, false, "b-a-a"},
        ReplaceCase{"abc", "", "x", true, true, "abc"}, ReplaceCase{"", "a", "x", false, true, ""},
        ReplaceCase{"Aa", "a", "x", true, true, "Ax"},
        // Simple Unicode upper-casing, not just ASCII, and the same in every locale.
        ReplaceCase{"Über über", "ÜBER", "x", false, true, "x x"},
        ReplaceCase{"straße", "SS", "x", false, true, "straße"},
        ReplaceCase{"ǆ", "ǅ", "x", false, true, "x"},
        ReplaceCase{"iİı", "I", "x", false, true, "xİx"},
        ReplaceCase{"keep CASE outside", "case", "lower", false, true, "keep lower outside"}));

TEST(TextHelpersTest, KeepCharsKeepsOrder) {
  EXPECT_EQ(KeepChars("IMG_2024-01-05 (1).jpg", "0123456789"), "202401051");
  EXPECT_EQ(KeepChars("abc", ""), "");
  EXPECT_EQ(KeepChars("a١2", "0123456789"), "2");
  EXPECT_EQ(KeepChars("äbä", "ä"), "ää");
}

TEST(TextHelpersTest, IfThenStrPicks) {
  EXPECT_EQ(IfThenStr(true, "ASC", "DESC"), "ASC");
  EXPECT_EQ(IfThenStr(false, "ASC", "DESC"), "DESC");
}

}  // namespace
}  // namespace Kestrel::CommonLib
