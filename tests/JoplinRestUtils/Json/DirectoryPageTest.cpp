#include "JoplinRestUtils/Json/DirectoryPage.hpp"

#include <gtest/gtest.h>

#include "JoplinRestUtils/Json/JsonReading.hpp"

namespace JoplinRestUtils {
namespace {

// What reading a page gives, in a form both readers can fill.
struct Outcome {
  bool Parsed = false;
  std::vector<std::string> Items;  // "id|title|parent"
  bool HasMore = false;
  std::string Fault;  // kind and message of the error raised, if any
  bool operator==(const Outcome&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << (o.Parsed ? "parsed" : "no JSON") << " has_more=" << o.HasMore << " fault=" << o.Fault
        << " items:";
    for (const auto& item : o.Items)
      out << " [" << item << "]";
    return out;
  }
};

std::string FaultOf(const Platform::Error& error) {
  return std::string(error.KindName()) + ": " + error.what();
}

// The page read through a whole JSON tree, member by member.
Outcome ReadThroughTree(const std::string& text) {
  Outcome outcome;
  const std::optional<TJsonValue> value = ParseJson(text);
  if (!value)
    return outcome;
  outcome.Parsed = true;
  try {
    const TJsonValue& items = ReadArrayMember(AnswerObject(*value), "items");
    const auto hasMore = value->find("has_more");
    outcome.HasMore = hasMore != value->end() && hasMore->is_boolean() && hasMore->get<bool>();
    for (const auto& item : items) {
      const std::string id = ReadTextMember(item, "id");
      const std::string title = ReadTextMember(item, "title");
      outcome.Items.push_back(id + "|" + title + "|" + ReadOptionalTextMember(item, "parent_id"));
    }
  } catch (const Platform::Error& error) {
    outcome.Fault = FaultOf(error);
  }
  return outcome;
}

Outcome ReadAsPage(const std::string& text) {
  Outcome outcome;
  try {
    std::optional<TDirectoryPage> page = ReadDirectoryPage(text);
    if (!page)
      return outcome;
    outcome.Parsed = true;
    outcome.HasMore = page->HasMore;
    for (const auto& item : page->Items)
      outcome.Items.push_back(item.Id + "|" + item.Title + "|" + item.ParentId);
    if (page->ItemFault)
      std::rethrow_exception(page->ItemFault);
  } catch (const Platform::Error& error) {
    outcome.Parsed = true;
    outcome.Fault = FaultOf(error);
  }
  return outcome;
}

struct PageCase {
  const char* Name;
  std::string Text;
  friend void PrintTo(const PageCase& c, std::ostream* out) { *out << c.Name; }
};

class DirectoryPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(DirectoryPageTest, ReadsAsTheJsonTreeDoes) {
  const std::string& text = GetParam().Text;
  EXPECT_EQ(ReadAsPage(text), ReadThroughTree(text)) << text;
}

std::string Nested(size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirectoryPageTest,
    ::testing::Values(
        PageCase{"Page", R"({"items":[{"id":"a1","title":"Inbox","parent_id":""},)"
                         R"({"id":"b2","title":"Sub","parent_id":"a1"}],"has_more":true})"},
        PageCase{"LastPage", R"({"items":[{"id":"a","title":"x"}],"has_more":false})"},
        PageCase{"NoHasMore", R"({"items":[]})"},
        PageCase{"HasMoreOfOtherKinds", R"({"items":[],"has_more":"true"} )"},
        PageCase{"HasMoreAsNumber", R"({"has_more":1,"items":[]})"},
        PageCase{"HasMoreAsObject", R"({"has_more":{"x":true},"items":[]})"},
        PageCase{"LaterDuplicateWins", R"({"has_more":true,"items":[],"has_more":null})"},
        PageCase{"DuplicateItemsLaterWins",
                 R"({"items":[{"id":"a","title":"x"}],"items":[{"id":"b","title":"y"}]})"},
        PageCase{"DuplicateItemsLaterNoArray", R"({"items":[{"id":"a","title":"x"}],"items":3})"},
        PageCase{"DuplicateMembersInAnItem", R"({"items":[{"id":"a","title":"x","id":"b"}]})"},
        PageCase{
            "TextsOfOtherKinds",
            R"({"items":[{"id":12,"title":true,"parent_id":null},)"
            R"({"id":1.50,"title":-3,"parent_id":false},)"
            R"({"id":12345678901234567890123,"title":1e5,"parent_id":18446744073709551615}]})"},
        PageCase{
            "ParentOfOtherShapes",
            R"({"items":[{"id":"a","title":"x","parent_id":{}},{"id":"b","title":"y","parent_id":[1]}]})"},
        PageCase{"OtherMembersNested",
                 R"({"x":{"items":5,"id":3},"items":[{"meta":{"id":"no","title":"no"},"id":"a",)"
                 R"("title":"x","more":[{"id":1}]}],"y":[[{"has_more":true}]]})"},
        PageCase{"RootIsArray", "[1,2]"}, PageCase{"RootIsScalar", "\"text\""},
        PageCase{"ItemsMissing", R"({"has_more":true})"},
        PageCase{"ItemsNoArray", R"({"items":{}})"},
        PageCase{"ItemNoObject", R"({"items":[{"id":"a","title":"x"},7,{"id":"b","title":"y"}]})"},
        PageCase{"ItemArray", R"({"items":[[{"id":"a","title":"x"}]]})"},
        PageCase{"IdMissing", R"({"items":[{"id":"a","title":"x"},{"title":"y"}]})"},
        PageCase{"TitleMissing", R"({"items":[{"id":"a"}]})"},
        PageCase{"IdObject", R"({"items":[{"id":{},"title":"x"}]})"},
        PageCase{"TitleArray", R"({"items":[{"id":"a","title":[]}]})"},
        PageCase{"ControlCharactersInTitles",
                 "{\"items\":[{\"id\":\"a\",\"title\":\"In\\u000bbox\\u001b[31m\"}]}"},
        PageCase{"Empty", ""}, PageCase{"NotJson", "<html>Bad gateway</html>"},
        PageCase{"CutShort", R"({"items":[{"id":"a","title":)"},
        PageCase{"DeepestAllowed", R"({"items":[],"x":)" + Nested(98) + "}"},
        PageCase{"TooDeep", R"({"items":[],"x":)" + Nested(99) + "}"}),
    [](const ::testing::TestParamInfo<PageCase>& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace JoplinRestUtils
