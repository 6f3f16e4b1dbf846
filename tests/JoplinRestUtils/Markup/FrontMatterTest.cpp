#include "JoplinRestUtils/Markup/FrontMatter.hpp"

#include <gtest/gtest.h>

#include <chrono>

#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/DateTime.hpp"

namespace JoplinRestUtils {
namespace {

// The fields read, in one line: what a case expects.
std::string Show(const TFrontMatter& f) {
  std::string out;
  auto add = [&out](const char* name, const std::string& value) {
    out += std::string(out.empty() ? "" : "; ") + name + "=" + value;
  };
  auto text = [](const std::optional<std::string>& v) { return v ? *v : "-"; };
  auto number = [](const auto& v) { return v ? std::to_string(*v) : "-"; };
  add("title", text(f.Title));
  std::string tags;
  for (const auto& tag : f.Tags)
    tags += (tags.empty() ? "" : "|") + tag;
  add("tags", tags);
  add("created", number(f.Created));
  add("updated", number(f.Updated));
  add("due", number(f.Due));
  add("source", text(f.Source));
  add("author", text(f.Author));
  add("place", number(f.Latitude) + "," + number(f.Longitude) + "," + number(f.Altitude));
  add("completed", f.Completed ? (*f.Completed ? "yes" : "no") : "-");
  return out;
}

std::string Nothing() {
  return "title=-; tags=; created=-; updated=-; due=-; source=-; author=-; place=-,-,-; "
         "completed=-";
}

struct BlockCase {
  const char* Name;
  std::string Text;
  std::string Fields;        // Show() of what is read, or the error's words
  std::string Body;          // the text after the block
  std::string Warning = "";  // the start of the one warning expected
  friend void PrintTo(const BlockCase& c, std::ostream* out) { *out << c.Name; }
};

class FrontMatterTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FrontMatterTest, ReadsTheBlock) {
  const BlockCase& c = GetParam();
  TFrontMatterBlock block;
  ASSERT_EQ(FindFrontMatter(c.Text, block), TFrontMatterSearch::Found);
  EXPECT_EQ(c.Text.substr(block.BodyStart), c.Body);
  std::vector<std::string> warnings;
  try {
    EXPECT_EQ(Show(ReadFrontMatter(block, "trip.md", warnings)), c.Fields);
  } catch (const EFrontMatterError& error) {
    EXPECT_EQ(error.what(), c.Fields);
  }
  if (c.Warning.empty()) {
    EXPECT_TRUE(warnings.empty()) << warnings.front();
  } else {
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].substr(0, c.Warning.size()), c.Warning) << warnings[0];
  }
}

// 2026-03-01 09:30:00 UTC.
constexpr std::int64_t kMarch1 = 1772357400000;

std::string BillionLaughs() {
  std::string yaml = "a: &a [\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\"]\n";
  for (char c = 'b'; c <= 'j'; ++c) {
    yaml += std::string(1, c) + ": &" + c + " [";
    for (int i = 0; i < 9; ++i)
      yaml += std::string(i ? "," : "") + "*" + static_cast<char>(c - 1);
    yaml += "]\n";
  }
  return "---\n" + yaml + "tags: *j\ntitle: laughs\n---\nbody\n";
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, FrontMatterTest,
    ::testing::Values(
        BlockCase{"JoplinsOwnExport",
                  "---\ntitle: Trip notes\nupdated: 2026-03-01 09:30:00Z\n"
                  "created: 2026-03-01 09:30:00Z\nsource: https://example.org/page\n"
                  "author: A. Writer\nlatitude: 48.85660000\nlongitude: 2.35220000\n"
                  "altitude: 0.0000\ncompleted?: no\ndue: 2026-03-01 09:30:00Z\n"
                  "tags:\n  - travel\n  - '2026'\n---\n\n# Day one\n",
                  "title=Trip notes; tags=travel|2026; created=" + std::to_string(kMarch1) +
                      "; updated=" + std::to_string(kMarch1) + "; due=" + std::to_string(kMarch1) +
                      "; source=https://example.org/page; author=A. Writer; "
                      "place=48.856600,2.352200,0.000000; completed=no",
                  "# Day one\n"},
        BlockCase{"AliasesAndCaseOfKeys",
                  "---\nTITLE: t\nDate: 2026-03-01T10:30:00+01:00\nLastMod: 2026-03-01T09:30Z\n"
                  "Keywords: a, b ,, A\nCompleted?: Yes\n---\nbody\n",
                  "title=t; tags=a|b; created=" + std::to_string(kMarch1) +
                      "; updated=" + std::to_string(kMarch1) +
                      "; due=-; source=-; author=-; place=-,-,-; completed=yes",
                  "body\n"},
        BlockCase{"OwnKeysWinOverAliases",
                  "---\ntags: [x]\nkeywords: [y]\ncreated: 2026-03-01 09:30:00Z\n"
                  "date: 2000-01-01\nmodified: 2026-03-01 04:30:00-05:00\n---\n",
                  "title=-; tags=x; created=" + std::to_string(kMarch1) +
                      "; updated=" + std::to_string(kMarch1) +
                      "; due=-; source=-; author=-; place=-,-,-; completed=-",
                  ""},
        BlockCase{"AuthorAsAList", "---\nauthor: [First One, Second]\n---\nx",
                  "title=-; tags=; created=-; updated=-; due=-; source=-; author=First One; "
                  "place=-,-,-; completed=-",
                  "x"},
        BlockCase{"AuthorAsAMap", "---\nauthor:\n  name: Ann\n  email: a@b.c\n---\nx",
                  "title=-; tags=; created=-; updated=-; due=-; source=-; author=Ann; "
                  "place=-,-,-; completed=-",
                  "x"},
        BlockCase{"AuthorsAsMaps", "---\nauthor:\n  - name: Bo\n  - name: Cy\n---\nx",
                  "title=-; tags=; created=-; updated=-; due=-; source=-; author=Bo; "
                  "place=-,-,-; completed=-",
                  "x"},
        BlockCase{"ScalarsStayText", "---\ntitle: 2026\ntags: yes\nsource: null\n---\nx",
                  "title=2026; tags=yes; created=-; updated=-; due=-; source=null; author=-; "
                  "place=-,-,-; completed=-",
                  "x"},
        BlockCase{"UnknownKeysPassedOver",
                  "---\nlayout: post\nweight: 3\nparams: {a: [1, {b: 2}]}\ntitle: kept\n---\nx",
                  "title=kept; tags=; created=-; updated=-; due=-; source=-; author=-; "
                  "place=-,-,-; completed=-",
                  "x"},
        BlockCase{"CrLfLineEndsAndAMark",
                  "\xEF\xBB\xBF---\r\ntitle: crlf\r\ntags: a\r\n...\r\n\r\n\r\nbody\r\n",
                  "title=crlf; tags=a; created=-; updated=-; due=-; source=-; author=-; "
                  "place=-,-,-; completed=-",
                  "\r\nbody\r\n"},
        BlockCase{"EmptyBlock", "---\n# nothing but a comment\n---\nbody", Nothing(), "body"},
        BlockCase{"UnreadableDateSkipped", "---\ntitle: t\ncreated: next tuesday\n---\nx",
                  "title=t; tags=; created=-; updated=-; due=-; source=-; author=-; "
                  "place=-,-,-; completed=-",
                  "x", "trip.md, line 3: \"created\" \"next tuesday\" is not a date"},
        BlockCase{"UnreadableNumberSkipped", "---\nlatitude: north\n---\nx", Nothing(), "x",
                  "trip.md, line 2: \"latitude\" \"north\" is not a number"},
        BlockCase{"InvalidYaml", "---\ntitle: a\ntags: [x, y\nauthor: b\n---\nbody",
                  "trip.md, line 4: the front matter is no valid YAML map (did not find "
                  "expected ',' or ']' while parsing a flow sequence); /NoFrontMatter sends "
                  "the text as written",
                  "body"},
        BlockCase{"NoMap", "---\n- a\n- b\n---\nbody",
                  "trip.md, line 2: the front matter is no valid YAML map (the block is no "
                  "mapping of keys to values); /NoFrontMatter sends the text as written",
                  "body"},
        BlockCase{"OverTheSizeLimit",
                  "---\nnote: \"" + std::string(kMaxFrontMatterBytes, 'x') + "\"\n---\nbody",
                  "trip.md: the front matter is longer than 64 KiB; /NoFrontMatter sends the "
                  "text as written",
                  "body"},
        BlockCase{"BillionLaughs", BillionLaughs(),
                  "title=laughs; tags=; created=-; updated=-; due=-; source=-; author=-; "
                  "place=-,-,-; completed=-",
                  "body\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FrontMatterSearchTest, OnlyAFirstLineOfThreeDashesOpensABlock) {
  TFrontMatterBlock block;
  EXPECT_EQ(FindFrontMatter("# title\n---\na: b\n---\n", block), TFrontMatterSearch::None);
  EXPECT_EQ(FindFrontMatter("----\na: b\n---\n", block), TFrontMatterSearch::None);
  EXPECT_EQ(FindFrontMatter("---", block), TFrontMatterSearch::Unclosed);
  EXPECT_EQ(FindFrontMatter("", block), TFrontMatterSearch::None);
  EXPECT_EQ(FindFrontMatter("---\ntitle: a\n\nno end", block), TFrontMatterSearch::Unclosed);
}

struct DateCase {
  const char* Name;
  std::string Text;
  std::optional<std::int64_t> UtcMs;  // nothing: unreadable
  friend void PrintTo(const DateCase& c, std::ostream* out) { *out << c.Name; }
};

class FrontMatterDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(FrontMatterDateTest, ReadsTheInstant) {
  EXPECT_EQ(ReadFrontMatterDate(GetParam().Text), GetParam().UtcMs);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FrontMatterDateTest,
    ::testing::Values(DateCase{"JoplinsForm", "2026-03-01 09:30:00Z", kMarch1},
                      DateCase{"IsoWithT", "2026-03-01T09:30:00Z", kMarch1},
                      DateCase{"MinutesOnly", "2026-03-01 09:30Z", kMarch1},
                      DateCase{"Fraction", "2026-03-01T09:30:00.250Z", kMarch1 + 250},
                      DateCase{"OffsetWithColon", "2026-03-01T11:30:00+02:00", kMarch1},
                      DateCase{"OffsetWithoutColon", "2026-03-01T04:00:00-0530", kMarch1},
                      DateCase{"OffsetHoursOnly", "2026-03-01 04:30:00 -5", kMarch1},
                      DateCase{"Before1970", "1969-12-31T23:59:59Z", -1000},
                      DateCase{"NoSuchDay", "2026-02-30", std::nullopt},
                      DateCase{"NoSuchHour", "2026-03-01 24:00", std::nullopt},
                      DateCase{"Words", "yesterday", std::nullopt},
                      DateCase{"TrailingWords", "2026-03-01 09:30 sharp", std::nullopt},
                      DateCase{"DayFirst", "01-03-2026", std::nullopt}),
    [](const auto& p) { return std::string(p.param.Name); });

// Without a zone, a date is local time, and a date alone is local midnight.
TEST(FrontMatterDateLocalTest, NoZoneIsLocalTime) {
  Kestrel::CommonLib::TDateTimeFields fields;
  fields.Year = 2026;
  fields.Month = 3;
  fields.Day = 1;
  EXPECT_EQ(ReadFrontMatterDate("2026-03-01"),
            DateTimeToUnixMs(Kestrel::CommonLib::EncodeDateTime(fields)));
  fields.Hour = 9;
  fields.Minute = 30;
  fields.Second = 15;
  EXPECT_EQ(ReadFrontMatterDate("2026-03-01 09:30:15"),
            DateTimeToUnixMs(Kestrel::CommonLib::EncodeDateTime(fields)));
}

}  // namespace
}  // namespace JoplinRestUtils
