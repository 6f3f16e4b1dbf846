#include "Kestrel/CommonLib/SwitchScanner.hpp"

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Quillpost/Switches.hpp"

namespace Kestrel::CommonLib {
namespace {

std::vector<std::string> Collect(bool list, const TParamList& params, std::string_view name) {
  TStringList values;
  if (list) {
    GetSwitchValueList(params, name, values, false);
  } else {
    GetSwitchValues(params, name, values, false);
  }
  return values.Lines();
}

TEST(SwitchScannerTest, GetParamValueTakesTheLastMatchingParameter) {
  EXPECT_EQ(GetParamValue({}, "/IniFile", "dflt"), "dflt");
  EXPECT_EQ(GetParamValue({"/IniFile=a.ini", "/INIFILE=b.ini"}, "/IniFile", "d"), "b.ini");
  EXPECT_EQ(GetParamValue({"/IniFile="}, "/IniFile", "d"), "");
  EXPECT_EQ(GetParamValue({"/IniFile=x=y"}, "/IniFile", "d"), "x=y");
  EXPECT_EQ(GetParamValue({"-IniFile=x"}, "/IniFile", "d"), "d");
  EXPECT_EQ(GetParamValue({"/Ini"}, "/IniFile", "d"), "d");
}

TEST(SwitchScannerTest, FindSwitchNeedsTheWholeParameter) {
  EXPECT_FALSE(Quillpost::FindSwitch({}, "I"));
  EXPECT_TRUE(Quillpost::FindSwitch({"/i"}, "I"));
  EXPECT_TRUE(Quillpost::FindSwitch({"-I"}, "I"));
  EXPECT_FALSE(Quillpost::FindSwitch({"/I1"}, "I"));
  EXPECT_FALSE(Quillpost::FindSwitch({"/IniFile=x"}, "I"));
  EXPECT_FALSE(Quillpost::FindSwitch({"/é"}, "É"));
}

struct ValueCase {
  const char* Name;
  bool List;  // GetSwitchValueList instead of GetSwitchValues
  TParamList Params;
  std::string Switch;
  std::vector<std::string> Expected;
  friend void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.Name; }
};

class SwitchValuesTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SwitchValuesTest, CollectsTheValues) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(Collect(c.List, c.Params, c.Switch), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchValuesTest,
    ::testing::Values(
        ValueCase{"NoParams", false, {}, "T", {}},
        ValueCase{"EachOccurrence", false, {"/T", "a", "/T", "b"}, "T", {"a", "b"}},
        ValueCase{"OtherSwitchBetween", false, {"/T", "/X", "/T", "c"}, "T", {"c"}},
        // The first /T has no value; the word after the second is its value.
        ValueCase{"RepeatedSwitchTakesTheNextWord", false, {"/T", "/T", "c"}, "T", {"c"}},
        ValueCase{"OtherSwitchIsNoValue", false, {"/T", "/N", "c"}, "T", {}},
        ValueCase{"NegativeNumberIsSwitch", false, {"/T", "-5"}, "T", {}},
        ValueCase{"LastParameter", false, {"x", "/T"}, "T", {}},
        ValueCase{"TIsNotTT", false, {"/TT", "a", "/t", "b"}, "T", {"b"}},
        ValueCase{"EmptyName", false, {"/", "v", "-", "w"}, "", {"v", "w"}},
        ValueCase{"AbsolutePathIsAValue", false, {"/S", "/home/me/a.md"}, "S", {"/home/me/a.md"}},
        ValueCase{"SettingsPathIsASwitch", false, {"/S", "/IniFile=/etc/q.ini", "x"}, "S", {}},
        ValueCase{"AbsolutePathsInAList",
                  true,
                  {"/AA", "/a/x.png", "b.png", "/T", "t"},
                  "AA",
                  {"/a/x.png", "b.png"}},
        // A repeated list switch adds its values after the first run's.
        ValueCase{"ListRunsToNextOtherSwitchAndAgain",
                  true,
                  {"/TT", "a", "b", "/TT", "c", "/X", "d", "/TT", "e"},
                  "TT",
                  {"a", "b", "c", "e"}},
        ValueCase{"ListOnlySwitches", true, {"/TT", "/X", "/Y"}, "TT", {}},
        ValueCase{"ListIgnoresCase", true, {"x", "/tt", "a", "-T", "b"}, "TT", {"a"}},
        ValueCase{"ListBeforeFirstOccurrenceIgnored", true, {"a", "/X", "/TT", "b"}, "TT", {"b"}}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(SwitchScannerTest, EarlierEntriesCountUnlessCleared) {
  TStringList list;
  list.Add("kept");
  EXPECT_TRUE(GetSwitchValues({}, "T", list, false));
  EXPECT_TRUE(GetSwitchValueList({}, "TT", list, false));
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_FALSE(GetSwitchValues({}, "T", list, true));
  EXPECT_TRUE(list.Empty());
}

TEST(SwitchScannerTest, SingleValueIsTheFirstFound) {
  std::string value = "untouched";
  EXPECT_FALSE(GetSwitchValue({"/T"}, "T", value));
  EXPECT_EQ(value, "untouched");
  EXPECT_TRUE(GetSwitchValue({"/T", "/T", "a", "/T", "b"}, "T", value));
  EXPECT_EQ(value, "a");
  EXPECT_EQ(GetSwitchValueDef({"/N", "Inbox", "/N", "Other"}, "N", ""), "Inbox");
  EXPECT_EQ(GetSwitchValueDef({"/I"}, "I", "NoName"), "NoName");
}

TEST(TextMatchTest, AsciiCaseOnly) {
  EXPECT_TRUE(MatchesAnyText(".HTML", {".html", ".htm"}));
  EXPECT_FALSE(MatchesAnyText(".É", {".é"}));
  EXPECT_FALSE(MatchesAnyText("", {".html"}));
  EXPECT_TRUE(MatchesAnyText("", {"x", ""}));
  EXPECT_TRUE(MatchesAnyStr("/", {"/", "-"}));
  EXPECT_FALSE(MatchesAnyStr("\\", {"/", "-"}));
  EXPECT_FALSE(MatchesAnyStr("A", {"a"}));
}

}  // namespace
}  // namespace Kestrel::CommonLib
