#include "JoplinRestUtils/Markup/HtmlScanning.hpp"

#include <gtest/gtest.h>

#include <random>

#include "support/Pcre2Regex.hpp"

namespace JoplinRestUtils {
namespace {

// The patterns the scanner stands for, as PCRE2 reads them.
constexpr std::string_view kTitlePattern = "<title>([^<]*)</title>";
constexpr std::string_view kReferencePattern = R"re(src\s*=\s*"([^"]+)")re";

std::string Describe(std::size_t start, std::size_t length, std::string_view inner) {
  return std::to_string(start) + "+" + std::to_string(length) + ":" + std::string(inner);
}

std::vector<std::string> ByScanner(std::string_view html, bool anyCase) {
  std::vector<std::string> found;
  for (const auto& match : FindImageReferences(html, anyCase))
    found.push_back(Describe(match.Start, match.Length, match.Inner));
  return found;
}

std::vector<std::string> ByPcre2(std::string_view html, bool anyCase) {
  const TestSupport::Regex pattern(kReferencePattern, {anyCase, true});
  std::vector<std::string> found;
  for (const auto& match : pattern.FindAll(html))
    found.push_back(Describe(match.Start, match.Length, match.Group1));
  return found;
}

std::string TitleByScanner(std::string_view html) {
  const auto title = FindHtmlTitle(html);
  return title ? Describe(title->Start, title->Length, title->Inner) : "none";
}

std::string TitleByPcre2(std::string_view html) {
  const TestSupport::Regex pattern(kTitlePattern, {true, false});
  const auto title = pattern.FindFirst(html);
  return title ? Describe(title->Start, title->Length, title->Group1) : "none";
}

void ExpectSameAsPcre2(std::string_view html) {
  EXPECT_EQ(ByScanner(html, true), ByPcre2(html, true)) << html;
  EXPECT_EQ(ByScanner(html, false), ByPcre2(html, false)) << html;
  EXPECT_EQ(TitleByScanner(html), TitleByPcre2(html)) << html;
}

struct HtmlCase {
  const char* Name;
  std::string Html;
  friend void PrintTo(const HtmlCase& c, std::ostream* out) { *out << c.Name; }
};

class HtmlScanningTest : public ::testing::TestWithParam<HtmlCase> {};

TEST_P(HtmlScanningTest, FindsWhatTheRegularExpressionsFind) {
  ExpectSameAsPcre2(GetParam().Html);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlScanningTest,
    ::testing::Values(
        HtmlCase{"Page",
                 "<html><head><title>My page</title></head><body><img src=\"a.png\">"
                 "<img src = \"b/c.jpg\" alt=x></body></html>"},
        HtmlCase{"CaseOfTagsAndAttributes",
                 "<TITLE>Up</Title><IMG SRC=\"A.PNG\"><img Src=\"b.png\"><img sRC=\"c.png\">"},
        HtmlCase{"BlanksOfEveryKind", "src \t\n\v\f\r=\r\n\"a.png\" src\xA0=\"b.png\""},
        HtmlCase{"EmptyAndUnclosedQuotes", "src=\"\" src=\"a.png src=\"b.png\" src=\"c"},
        HtmlCase{"SingleQuotesAreNoReference", "src='a.png' src=a.png"},
        HtmlCase{"OverlappingStarts", "src=\"x src=\"a.png\" srcsrc=\"b\" ssrc=\"c\""},
        HtmlCase{"LongSIsNoS", "\xC5\xBFrc=\"a.png\""},
        HtmlCase{"IllFormedBytes", "src=\"a\xFF\xC3.png\" \xFFsrc=\"b\""},
        HtmlCase{"TitleWithTagInside", "<title>a<b>c</b></title><title>second</title>"},
        HtmlCase{"TitleUnclosed", "<title>never closed"},
        HtmlCase{"TitleEmptyAndLater", "<title></title><title>x</title>"},
        HtmlCase{"TitleTagsSplit", "<title >x</title><title>y</ title><title>z</title>"},
        HtmlCase{"ManyOpeningTags", "<title><title><title>t</title>"}, HtmlCase{"Nothing", ""}),
    [](const ::testing::TestParamInfo<HtmlCase>& row) { return std::string(row.param.Name); });

TEST(HtmlScanningPinnedTest, WhatIsFound) {
  const std::string html = "<title> T </title><img SRC = \"a b.png\"><img src=\"c.png\">";
  EXPECT_EQ(TitleByScanner(html), "0+18: T ");
  EXPECT_EQ(ByScanner(html, true), (std::vector<std::string>{"23+15:a b.png", "44+11:c.png"}));
  EXPECT_EQ(ByScanner(html, false), (std::vector<std::string>{"44+11:c.png"}));
}

// Bodies put together from pieces that start, break off and nest matches.
TEST(HtmlScanningAgreementTest, AgreesWithPcre2OnGeneratedBodies) {
  const std::vector<std::string> pieces = {
      "src",     "SRC",      "Src",     "=",        " ",     "\t", "\"",   "a.png",    "<", ">",
      "<title>", "</title>", "<TITLE>", "</TiTlE>", "title", "/",  "\xFF", "\xC3\xA9", "s", "x"};
  std::mt19937 random(1210);
  for (int round = 0; round < 4000; ++round) {
    std::string html;
    const auto count = std::uniform_int_distribution<int>(1, 16)(random);
    for (int i = 0; i < count; ++i)
      html += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    ExpectSameAsPcre2(html);
    if (::testing::Test::HasFailure())
      return;
  }
}

}  // namespace
}  // namespace JoplinRestUtils
