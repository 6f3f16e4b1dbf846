#include <gtest/gtest.h>

#include "Platform/Text/UnicodeCase.hpp"

namespace Platform {
namespace {

TEST(UnicodeCaseWin32Test, SimpleUpperCaseOfEveryPlane) {
  EXPECT_EQ(SimpleUpperCase(U'a'), U'A');
  EXPECT_EQ(SimpleUpperCase(U'i'), U'I');  // the same in a Turkish locale
  EXPECT_EQ(SimpleUpperCase(U'\u00E4'), U'\u00C4');
  EXPECT_EQ(SimpleUpperCase(U'\u00DF'), U'\u00DF');  // no one-letter upper case
  EXPECT_EQ(SimpleUpperCase(U'\u0434'), U'\u0414');
  EXPECT_EQ(SimpleUpperCase(U'\u03C9'), U'\u03A9');
  EXPECT_EQ(SimpleUpperCase(U'\U00010428'), U'\U00010400');  // Deseret, beyond the BMP
  EXPECT_EQ(SimpleUpperCase(U'\u01C5'), U'\u01C4');          // title case has an upper case
  EXPECT_EQ(SimpleUpperCase(U'\u0131'), U'I');
  EXPECT_EQ(SimpleUpperCase(U'\u00B5'), U'\u039C');
  EXPECT_EQ(SimpleUpperCase(U'\u03C2'), U'\u03A3');
  EXPECT_EQ(SimpleUpperCase(U'7'), U'7');
  EXPECT_EQ(SimpleUpperCase(U'\u65E5'), U'\u65E5');
}

}  // namespace
}  // namespace Platform
