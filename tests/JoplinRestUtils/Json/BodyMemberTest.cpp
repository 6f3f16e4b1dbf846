#include "JoplinRestUtils/Json/BodyMember.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace JoplinRestUtils {
namespace {

struct BodyCase {
  const char* Name;
  std::string Answer;
  std::optional<std::string> Body;  // nothing: no whole, well-formed body
  std::string Rest;
  // Repaired text differs from the bytes sent, so a check against it fails.
  bool CheckAgrees = true;
  friend void PrintTo(const BodyCase& c, std::ostream* out) { *out << c.Name; }
};

class BodyMemberTest : public ::testing::TestWithParam<BodyCase> {};

void Feed(TBodyMember& filter, const std::string& answer, size_t piece) {
  for (size_t at = 0; at < answer.size(); at += piece)
    filter.Take(answer.data() + at, std::min(piece, answer.size() - at));
}

// The same body and rest whether the answer comes whole or a byte at a time
// (escapes split between pieces), and the check agrees with the body read.
TEST_P(BodyMemberTest, DecodesTheBodyAndKeepsTheRest) {
  const BodyCase& c = GetParam();
  for (const size_t piece : {c.Answer.size() + 1, size_t{1}, size_t{5}}) {
    SCOPED_TRACE(piece);
    const auto keeping = TBodyMember::Keeping(16);
    keeping->ExpectSize(c.Answer.size());
    Feed(*keeping, c.Answer, piece);
    EXPECT_EQ(keeping->Finish(), c.Rest);
    EXPECT_EQ(keeping->TakeBody(), c.Body);
    if (c.Body) {
      SCOPED_TRACE("check");
      const auto checking = TBodyMember::Checking(*c.Body);
      Feed(*checking, c.Answer, piece);
      EXPECT_EQ(checking->Matches(), c.CheckAgrees);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BodyMemberTest,
    ::testing::Values(
        BodyCase{"Plain", R"({"id":"N1","body":"line one","updated_time":5})", "line one",
                 R"({"id":"N1","body":"","updated_time":5})"},
        BodyCase{"SimpleEscapes", R"({"body":"a\"b\\c\/d\r\ne\tf\b\f"})", "a\"b\\c/d\r\ne\tf\b\f",
                 R"({"body":""})"},
        BodyCase{"UnicodeEscapes", R"({"body":"\u00e9\u20AC \ud83d\ude00 é"})",
                 "\xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80 \xC3\xA9", R"({"body":""})"},
        BodyCase{"EmptyBody", R"({"body":"","id":"N"})", "", R"({"body":"","id":"N"})"},
        BodyCase{"BlanksAroundTheColon", "{ \"body\" :\n \"x\" }", "x", "{ \"body\" :\n \"\" }"},
        BodyCase{"OnlyTheTopLevelBody",
                 R"({"x":{"body":"inner"},"y":["body",":"],"v":"body","body":"outer"})", "outer",
                 R"({"x":{"body":"inner"},"y":["body",":"],"v":"body","body":""})"},
        BodyCase{"KeyThatOnlyStartsTheSame", R"({"bodyx":"a","body_html":"b"})", std::nullopt,
                 R"({"bodyx":"a","body_html":"b"})"},
        BodyCase{"BodyThatIsNoString", R"({"body":null,"id":"N"})", std::nullopt,
                 R"({"body":null,"id":"N"})"},
        BodyCase{"NoBody", R"({"id":"N"})", std::nullopt, R"({"id":"N"})"},
        BodyCase{"CutShort", R"({"body":"half a te)", std::nullopt, R"({"body":")"},
        BodyCase{"UnknownEscape", R"({"body":"a\qb"})", std::nullopt, R"({"body":""})"},
        BodyCase{"LoneHighSurrogate", R"({"body":"a\ud83d"})", std::nullopt, R"({"body":""})"},
        BodyCase{"HighSurrogateBeforeAnotherEscape", R"({"body":"\ud83d\n"})", std::nullopt,
                 R"({"body":""})"},
        BodyCase{"LoneLowSurrogate", R"({"body":"\ude00x"})", std::nullopt, R"({"body":""})"},
        BodyCase{"BadHexDigits", R"({"body":"\u12g4"})", std::nullopt, R"({"body":""})"},
        BodyCase{"IllFormedUtf8Repaired",
                 "{\"body\":\"a\xFF"
                 "b\"}",
                 "a\xEF\xBF\xBD"
                 "b",
                 R"({"body":""})", false},
        BodyCase{"ErrorAnswer", R"({"error":"Not found"})", std::nullopt,
                 R"({"error":"Not found"})"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(BodyMemberCheckTest, AnyDifferenceFails) {
  const std::string expected = "entry one\r\n\r\nentry two";
  for (const std::string answer :
       {R"({"body":"entry one\r\n\r\nentry tw"})", R"({"body":"entry one\r\n\r\nentry two!"})",
        R"({"body":"entry one\n\nentry two"})", R"({"body":"entry one\r\n\r\nentry two)",
        R"({"id":"x"})"}) {
    SCOPED_TRACE(answer);
    const auto checking = TBodyMember::Checking(expected);
    Feed(*checking, answer, 4);
    EXPECT_FALSE(checking->Matches());
  }
}

// A long body is kept once: with room made from the declared length, and
// nothing of it counted twice against the answer cap.
TEST(BodyMemberSizeTest, ALongBodyIsHeldOnce) {
  const std::string text(8 << 20, 'x');
  const std::string answer = "{\"body\":\"" + text + "\"}";
  const auto keeping = TBodyMember::Keeping(1024);
  keeping->ExpectSize(answer.size());
  Feed(*keeping, answer, 16384);
  EXPECT_EQ(keeping->KeptSize(), answer.size());
  EXPECT_EQ(keeping->Finish(), R"({"body":""})");
  std::optional<std::string> body = keeping->TakeBody();
  ASSERT_TRUE(body);
  EXPECT_EQ(*body, text);
  EXPECT_GE(body->capacity(), text.size() + 1024);
}

}  // namespace
}  // namespace JoplinRestUtils
