#include "JoplinRestUtils/Json/AnswerMembers.hpp"

#include <gtest/gtest.h>

namespace JoplinRestUtils {
namespace {

struct MembersCase {
  const char* Name;
  std::string Answer;
  std::string Kept;  // with a verbatim limit of 8 bytes
  friend void PrintTo(const MembersCase& c, std::ostream* out) { *out << c.Name; }
};

class AnswerMembersTest : public ::testing::TestWithParam<MembersCase> {};

std::string Filter(const std::string& answer, size_t verbatimLimit, size_t piece) {
  TAnswerMembers filter({"id", "title"}, verbatimLimit);
  for (size_t at = 0; at < answer.size(); at += piece)
    filter.Take(answer.data() + at, std::min(piece, answer.size() - at));
  return filter.Finish();
}

// The same bytes kept whether the answer comes whole or a byte at a time.
TEST_P(AnswerMembersTest, KeepsOnlyTheNamedMembersOfALongAnswer) {
  const MembersCase& c = GetParam();
  EXPECT_EQ(Filter(c.Answer, 8, c.Answer.size() + 1), c.Kept);
  EXPECT_EQ(Filter(c.Answer, 8, 1), c.Kept);
  // Short enough: kept as it came, whatever it holds.
  EXPECT_EQ(Filter(c.Answer, c.Answer.size(), 3), c.Answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerMembersTest,
    ::testing::Values(
        MembersCase{"NoteEcho", R"({"id":"N1","body":"long text","title":"T","x":1})",
                    R"({"id":"N1","title":"T"})"},
        MembersCase{"BlanksKeptAsWritten", "{ \"title\" : \"a b\" ,\n \"id\":\"N\" }",
                    "{\"title\" : \"a b\" ,\"id\":\"N\" }"},
        MembersCase{"NestedValuesSkipped",
                    R"({"body":{"a":[1,{"id":"inner"}],"b":"}],{"},"id":"N2"})", R"({"id":"N2"})"},
        MembersCase{"EscapedQuotesAndBraces", R"({"body":"say \"},\" \\","id":"N3"})",
                    R"({"id":"N3"})"},
        MembersCase{"NamedMemberOfAnyShape", R"({"id":{"x":[1,2]},"title":null})",
                    R"({"id":{"x":[1,2]},"title":null})"},
        MembersCase{"NameThatOnlyStartsTheSame", R"({"identity":"x","idx":"y"})", "{}"},
        MembersCase{"CutShort", R"({"id":"N4","body":"long te)", R"({"id":"N4")"},
        MembersCase{"NotAnObject", R"(["id","N5","title"])", "{"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(AnswerMembersSizeTest, OnlyWhatIsKeptCounts) {
  TAnswerMembers filter({"id"}, 1 << 10);
  const std::string head = R"({"id":"N1","body":")";
  filter.Take(head.data(), head.size());
  const std::string text(1 << 20, 'x');
  for (int i = 0; i < 8; ++i)
    filter.Take(text.data(), text.size());
  EXPECT_LT(filter.KeptSize(), 64u);
  filter.Take("\"}", 2);
  EXPECT_EQ(filter.Finish(), R"({"id":"N1"})");
}

}  // namespace
}  // namespace JoplinRestUtils
