#include "Kestrel/CommonLib/Text/LineBreaks.hpp"

#include <gtest/gtest.h>

#include <random>

#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace Kestrel::CommonLib {
namespace {

// Joined as a copy, in place with room to grow, and in place without room.
void ExpectJoinedAsTheLines(const std::string& text) {
  TStringList lines;
  lines.SetText(text);
  EXPECT_EQ(JoinedLines(text), lines.Text()) << ::testing::PrintToString(text);
  std::string roomy;
  roomy.reserve(2 * text.size() + 2);
  roomy = text;
  const char* const storage = roomy.data();
  JoinLinesInPlace(roomy);
  EXPECT_EQ(roomy, lines.Text()) << ::testing::PrintToString(text);
  EXPECT_EQ(roomy.data(), storage) << "copied: " << ::testing::PrintToString(text);
  std::string tight = text;
  tight.shrink_to_fit();
  JoinLinesInPlace(tight);
  EXPECT_EQ(tight, lines.Text()) << ::testing::PrintToString(text);
}

TEST(LineBreaksTest, SameAsSplittingAndJoiningTheLines) {
  for (const char* text : {"", "a", "a\r\n", "\r\n", "a\r\n\r\n", "a\nb\rc\r\nd", "a\r\r\nb",
                           "\n\n", "\r", "x\r\n\ry", "\n\r", "\r\r", "ab\n", "ab\r"})
    ExpectJoinedAsTheLines(text);
  EXPECT_EQ(JoinedLines("a"), "a\r\n");
}

TEST(LineBreaksTest, SameOnGeneratedTexts) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const auto length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i)
      text += "ab\r\n"[std::uniform_int_distribution<int>(0, 3)(random)];
    ExpectJoinedAsTheLines(text);
  }
}

TEST(LineBreaksTest, FirstLine) {
  EXPECT_EQ(FirstJoinedLine("ab\r\ncd\r\n"), "ab");
  EXPECT_EQ(FirstJoinedLine(""), "");
}

}  // namespace
}  // namespace Kestrel::CommonLib
