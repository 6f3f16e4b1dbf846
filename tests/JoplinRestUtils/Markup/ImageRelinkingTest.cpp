#include "JoplinRestUtils/Markup/ImageRelinking.hpp"

#include <gtest/gtest.h>

#include <random>

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

TStringList Uploaded(std::initializer_list<const char*> entries) {
  TStringList list;
  for (const char* entry : entries)
    list.Add(entry);
  return list;
}

struct RelinkCase {
  const char* Name;
  std::string Body;
  std::vector<const char*> Uploaded;  // id=file, the files under /base
  std::string Expected;
  friend void PrintTo(const RelinkCase& c, std::ostream* out) { *out << c.Name; }
};

class ImageRelinkingTest : public ::testing::TestWithParam<RelinkCase> {};

// The one pass gives what one replace-all per reference gives, and that is
// the body expected.
TEST_P(ImageRelinkingTest, SameBodyAsOneReferenceAtATime) {
  const RelinkCase& c = GetParam();
  TStringList uploaded;
  for (const char* entry : c.Uploaded)
    uploaded.Add(entry);
  const std::string oneByOne = RelinkImageReferencesOneByOne(c.Body, "/base", uploaded);
  EXPECT_EQ(oneByOne, c.Expected);
  EXPECT_EQ(RelinkImageReferences(c.Body, "/base", uploaded), oneByOne);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageRelinkingTest,
    ::testing::Values(
        RelinkCase{
            "OneReference", R"(<img src="a.png">)", {"A1=/base/a.png"}, R"(<img src=":/A1">)"},
        RelinkCase{"EveryOccurrenceInAnyCase",
                   R"(<img src="a.png"><IMG SRC="A.PNG"><img data-src="a.png"><p>src="a.png"</p>)",
                   {"A1=/base/a.png"},
                   R"(<img src=":/A1"><IMG src=":/A1"><img data-src=":/A1"><p>src=":/A1"</p>)"},
        RelinkCase{"UpperCaseAttributeAloneIsNotAReference",
                   R"(<img SRC="a.png">)",
                   {"A1=/base/a.png"},
                   R"(<img SRC="a.png">)"},
        RelinkCase{"BlanksAroundTheEqualsSign",
                   "<img src = \"a.png\"><img src=\"a.png\"><img src\t=\n\"a.png\">",
                   {"A1=/base/a.png"},
                   R"(<img src=":/A1"><img src=":/A1"><img src=":/A1">)"},
        RelinkCase{"TwoSpellingsOfOneFile",
                   R"(<img src="a.png"><img src="./a.png">)",
                   {"A1=/base/a.png"},
                   R"(<img src=":/A1"><img src=":/A1">)"},
        RelinkCase{"FirstUploadedEntryWins",
                   R"(<img src="A.PNG">)",
                   {"X1=/base/a.png", "X2=/base/A.PNG"},
                   R"(<img src=":/X1">)"},
        RelinkCase{"LaterEntriesOfTheSameFile",
                   R"(<img src="a.png"><img src="b.png">)",
                   {"A1=/base/a.png", "B1=/base/b.png", "A2=/base/a.png"},
                   R"(<img src=":/A1"><img src=":/B1">)"},
        RelinkCase{
            "OthersLeftAlone",
            R"(<img src="b.png"><img src="http://x/a.png"><img src="a.png?v=2"><img src="">)",
            {"A1=/base/a.png"},
            R"(<img src="b.png"><img src="http://x/a.png"><img src="a.png?v=2"><img src="">)"},
        RelinkCase{"LongSUpperCasesToS",
                   "<img \xC5\xBFrc=\"a.png\"><img src=\"a.png\">",
                   {"A1=/base/a.png"},
                   R"(<img src=":/A1"><img src=":/A1">)"},
        RelinkCase{"NonAsciiPathInAnyCase",
                   "<img src=\"caf\xC3\xA9.png\"><img SRC=\"CAF\xC3\x89.PNG\">",
                   {"C1=/base/caf\xC3\xA9.png"},
                   R"(<img src=":/C1"><img src=":/C1">)"},
        RelinkCase{"IllFormedBytesAround",
                   "\xFF<img src=\"a.png\">\xC3<img src=\"a.png\xFF\">",
                   {"A1=/base/a.png"},
                   "\xFF<img src=\":/A1\">\xC3<img src=\"a.png\xFF\">"},
        RelinkCase{"OverlappingReferences",
                   R"(<a src="q src="a.png"> <img src="a.png">)",
                   {"Q1=/base/q src=", "A1=/base/a.png"},
                   R"(<a src=":/Q1"a.png"> <img src=":/A1">)"},
        RelinkCase{"OverlapTakenInMatchOrder",
                   R"(<img src="a.png"> <a src="q src="a.png">)",
                   {"Q1=/base/q src=", "A1=/base/a.png"},
                   R"(<img src=":/A1"> <a src=":/Q1":/A1">)"},
        RelinkCase{"ReplacementReadsLikeALaterReference",
                   R"(<img src="a.png"><img src=":/A1">)",
                   {"A1=/base/a.png", "B2=/base/:/A1"},
                   R"(<img src=":/B2"><img src=":/B2">)"},
        RelinkCase{"IdThatIsNotPlain",
                   R"(<img src="a.png"><img src="b.png">)",
                   {"x\"y=/base/a.png", "B1=/base/b.png"},
                   R"(<img src=":/x"y"><img src=":/B1">)"},
        RelinkCase{"NoReferences",
                   "<p>plain text, src= and \"quotes\"</p>",
                   {"A1=/base/a.png"},
                   "<p>plain text, src= and \"quotes\"</p>"}),
    [](const ::testing::TestParamInfo<RelinkCase>& row) { return row.param.Name; });

// Bodies put together from pieces that make references overlap, repeat,
// change case and meet replacements: both routes must always agree.
TEST(ImageRelinkingAgreementTest, AgreesOnGeneratedBodies) {
  const std::vector<std::string> pieces = {R"(src="a.png")",
                                           R"(SRC="A.PNG")",
                                           R"(src = "b.png")",
                                           R"(src=")",
                                           "\"",
                                           "src=",
                                           "=",
                                           " ",
                                           "<img ",
                                           ">",
                                           "\xC5\xBFrc=\"a.png\"",
                                           R"(src="c src=")",
                                           R"(src=":/A1")",
                                           "\xC3\xA9",
                                           "\xC5",
                                           R"(src="a.png?v=2")",
                                           "x"};
  const TStringList uploaded =
      Uploaded({"A1=/base/a.png", "B1=/base/b.png", "C1=/base/c src=", "D1=/base/:/A1"});
  std::mt19937 random(20261210);
  for (int round = 0; round < 3000; ++round) {
    std::string body;
    const auto count = std::uniform_int_distribution<int>(1, 14)(random);
    for (int i = 0; i < count; ++i)
      body += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    ASSERT_EQ(RelinkImageReferences(body, "/base", uploaded),
              RelinkImageReferencesOneByOne(body, "/base", uploaded))
        << "body: " << body;
  }
}

}  // namespace
}  // namespace JoplinRestUtils
