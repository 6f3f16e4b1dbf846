#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"

#include <gtest/gtest.h>

namespace JoplinRestUtils {
namespace {

TEST(JsonTest, CompactWithBothEscapings) {
  TJsonValue object = TJsonValue::object();
  object["title"] = "Caf\u00e9/2";
  object["control"] = "a\x01\x1F\b\t\n\f\r\"\\\x7F";
  object["astral"] = "\U0001F600";
  object["n"] = -12;
  EXPECT_EQ(WriteJsonCompact(object, {true, true}),
            R"({"title":"Caf\u00E9\/2","control":"a\u0001\u001F\b\t\n\f\r\"\\)"
            "\x7F"
            R"(","astral":"\uD83D\uDE00","n":-12})");
}

TEST(JsonTest, CompactWithoutEscapingKeepsUtf8AndControls) {
  TJsonValue object = TJsonValue::object();
  object["title"] = "Caf\u00e9/\x01\n\U0001F600";
  EXPECT_EQ(WriteJsonCompact(object, {false, false}),
            "{\"title\":\"Caf\u00e9\\/\x01\\n\U0001F600\"}");
}

TEST(JsonTest, MembersKeepInsertionOrder) {
  TJsonValue object = TJsonValue::object();
  object["z"] = 1;
  object["a"] = TJsonValue::array({true, nullptr, "x"});
  EXPECT_EQ(WriteJsonCompact(object, {true, true}), R"({"z":1,"a":[true,null,"x"]})");
}

TEST(JsonTest, IndentedUsesCrLfAndFourSpaces) {
  const auto value = ParseJson(R"({"id":"A1","title":"x/é","items":[{"n":1}],"e":{}})");
  ASSERT_TRUE(value);
  EXPECT_EQ(
      WriteJsonIndented(*value),
      "{\r\n    \"id\": \"A1\",\r\n    \"title\": \"x\\/é\",\r\n    \"items\": [\r\n"
      "        {\r\n            \"n\": 1\r\n        }\r\n    ],\r\n    \"e\": {\r\n    }\r\n}");
}

TEST(JsonTest, ParseGivesNothingForEmptyOrInvalidText) {
  EXPECT_FALSE(ParseJson(""));
  EXPECT_FALSE(ParseJson("<html></html>"));
  EXPECT_FALSE(ParseJson("{\"a\":"));
  EXPECT_TRUE(ParseJson("[1]"));
}

TEST(JsonTest, NestingDeeperThanAnyAnswerIsNoJson) {
  const auto nested = [](size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
  };
  EXPECT_TRUE(ParseJson(nested(100)));
  EXPECT_FALSE(ParseJson(nested(101)));
  EXPECT_FALSE(ParseJson(nested(1000000)));  // refused as it is read, not after
  EXPECT_FALSE(ParseJson(R"({"a":)" + nested(200) + "}"));
}

// Numbers are read as written: their text is what a member read as text gives,
// and what the indented form writes back.
TEST(JsonTest, NumbersKeepTheirText) {
  const struct {
    std::string Written;
  } cases[] = {{"12"},
               {"-7"},
               {"1.50"},
               {"1e2"},
               {"-0.0"},
               {"12345678901234567890123"},
               {"18446744073709551615"},
               {"2.5E-3"}};
  for (const auto& c : cases) {
    const auto value = ParseJson(R"({"id":)" + c.Written + "}");
    ASSERT_TRUE(value) << c.Written;
    EXPECT_EQ(ReadTextMember(*value, "id"), c.Written);
    EXPECT_EQ(WriteJsonIndented(*value), "{\r\n    \"id\": " + c.Written + "\r\n}");
  }
}

}  // namespace
}  // namespace JoplinRestUtils
