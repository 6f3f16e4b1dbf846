#include "JoplinRestUtils/Markup/MarkdownTargets.hpp"

#include <gtest/gtest.h>

namespace JoplinRestUtils {
namespace {

struct TargetsCase {
  const char* Name;
  std::string Markdown;
  std::vector<std::string> Targets;  // as written, in text order
  friend void PrintTo(const TargetsCase& c, std::ostream* out) { *out << c.Name; }
};

class MarkdownTargetsTest : public ::testing::TestWithParam<TargetsCase> {};

TEST_P(MarkdownTargetsTest, FindsTheDestinations) {
  const TargetsCase& c = GetParam();
  std::vector<std::string> found;
  for (const auto& target : FindMarkdownTargets(c.Markdown))
    found.push_back(c.Markdown.substr(target.Start, target.Length));
  EXPECT_EQ(found, c.Targets);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkdownTargetsTest,
    ::testing::Values(
        TargetsCase{"Image", "See ![chart](img/chart.png) here", {"img/chart.png"}},
        TargetsCase{"Link", "[notes](notes.txt)", {"notes.txt"}},
        TargetsCase{"Titles",
                    "![a](a.png \"A (1)\") [b](b.pdf 'B') [c](c.md (C))",
                    {"a.png", "b.pdf", "c.md"}},
        TargetsCase{"AngleBrackets", "![x](<my file.png> \"t\")", {"my file.png"}},
        TargetsCase{"ParenthesesInPath", "[x](dir(1)/a.png)", {"dir(1)/a.png"}},
        TargetsCase{"ImageInsideLink", "[![icon](i.png)](big.png)", {"i.png", "big.png"}},
        TargetsCase{"CodeSpan", "`![x](a.png)` and ``[y](b.png)`` but [z](c.png)", {"c.png"}},
        TargetsCase{"FencedBlock",
                    "```\n![x](a.png)\n```\n~~~~md\n[y](b.png)\n~~~\n~~~~\n![z](c.png)",
                    {"c.png"}},
        TargetsCase{"UnclosedFenceHidesTheRest", "```\n![x](a.png)\n", {}},
        TargetsCase{"EscapedBracket", "\\[x](a.png) [y\\]](b.png)", {"b.png"}},
        TargetsCase{"ReferenceDefinitions",
                    "[x][one] and ![y][two]\n\n[one]: docs/one.pdf\n  [two]: <two.png> \"T\"\n",
                    {"docs/one.pdf", "two.png"}},
        TargetsCase{"NotALink", "[x] (a.png) and [x](a.png and ]( x", {}},
        TargetsCase{"EmptyDestination", "[x]() [y](<>)", {}},
        TargetsCase{"CrLfLines", "![a](a.png)\r\n![b](b.png)\r\n", {"a.png", "b.png"}},
        TargetsCase{"WebAndAnchors",
                    "[w](https://x.org/a.png) [a](#top) [r](:/0123)",
                    {"https://x.org/a.png", "#top", ":/0123"}}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(MarkdownTargetsTest, LocalTargetsAndDecoding) {
  for (const char* local : {"a.png", "img/a b.png", "../x.pdf", "/abs/file.txt", "1:2.png"})
    EXPECT_TRUE(IsLocalTarget(local)) << local;
  for (const char* other :
       {"", "#top", ":/0123", "https://x", "mailto:me@x.org", "file:a.png", "joplin://x"})
    EXPECT_FALSE(IsLocalTarget(other)) << other;
  EXPECT_EQ(PercentDecode("my%20file%2Epng"), "my file.png");
  EXPECT_EQ(PercentDecode("100%%, %zz, %4"), "100%%, %zz, %4");
}

// Inputs that would make a naive scanner read the line again for every
// bracket, backtick or quote; each must come back at once.
TEST(MarkdownTargetsTest, HostileLinesAreReadOnce) {
  std::string manyTitles;
  for (int i = 0; i < 50000; ++i)
    manyTitles += "[a](b \"";
  const std::string cases[] = {
      std::string(200000, '[') + std::string(200000, '`') + "](a.png)",
      std::string(200000, '`') + "x" + std::string(100000, '`'),
      manyTitles,
      "[](" + std::string(300000, 'a'),
  };
  for (const auto& line : cases)
    EXPECT_LE(FindMarkdownTargets(line).size(), 1u);
}

}  // namespace
}  // namespace JoplinRestUtils
