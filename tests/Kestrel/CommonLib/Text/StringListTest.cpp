#include "Kestrel/CommonLib/Text/StringList.hpp"

#include <gtest/gtest.h>

namespace Kestrel::CommonLib {
namespace {

std::vector<std::string> Split(std::string_view text) {
  TStringList list;
  list.SetText(text);
  return list.Lines();
}

TEST(StringListTest, SetTextSplitsAtEveryKindOfBreak) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split(""), V{});
  EXPECT_EQ(Split("a"), V{"a"});
  EXPECT_EQ(Split("a\r\n"), V{"a"});
  EXPECT_EQ(Split("\r\n"), V{""});
  EXPECT_EQ(Split("a\r\n\r\n"), (V{"a", ""}));
  EXPECT_EQ(Split("a\nb\rc\r\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(Split("a\r\r\nb"), (V{"a", "", "b"}));
}

TEST(StringListTest, TextEndsEveryLineWithCrLf) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  EXPECT_EQ(list.Text(), "a\r\n\r\n");
}

TEST(StringListTest, NameValueView) {
  TStringList list;
  list.SetValue("A1", "Inbox");
  list.SetValue("b2", "x=y");
  list.SetValue("a1", "Renamed");
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a1=Renamed", "b2=x=y"}));
  EXPECT_EQ(list.Value("B2"), "x=y");
  list.SetValue("A1", "");
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"b2=x=y"}));
  list.SetValue("missing", "");
  EXPECT_EQ(list.Count(), 1u);
}

}  // namespace
}  // namespace Kestrel::CommonLib
