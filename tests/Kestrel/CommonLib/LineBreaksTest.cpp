#include "Kestrel/CommonLib/LineBreaks.hpp"

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/StringList.hpp"

namespace Kestrel::CommonLib {
namespace {

TEST(LineBreaksTest, SameAsSplittingAndJoiningTheLines) {
  for (const char* text : {"", "a", "a\r\n", "\r\n", "a\r\n\r\n", "a\nb\rc\r\nd", "a\r\r\nb",
                           "\n\n", "\r", "x\r\n\ry"}) {
    TStringList lines;
    lines.SetText(text);
    EXPECT_EQ(JoinedLines(text), lines.Text()) << ::testing::PrintToString(text);
  }
  EXPECT_EQ(JoinedLines("a"), "a\r\n");
}

TEST(LineBreaksTest, FirstLine) {
  EXPECT_EQ(FirstJoinedLine("ab\r\ncd\r\n"), "ab");
  EXPECT_EQ(FirstJoinedLine(""), "");
}

}  // namespace
}  // namespace Kestrel::CommonLib
