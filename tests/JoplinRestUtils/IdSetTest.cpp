#include "JoplinRestUtils/IdSet.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

TEST(IdSetTest, IdsCompareIgnoringAsciiCaseOnly) {
  TIdSet ids;
  EXPECT_TRUE(ids.Insert("AbC1"));
  EXPECT_FALSE(ids.Insert("abc1"));
  EXPECT_TRUE(ids.Contains("ABC1"));
  EXPECT_FALSE(ids.Contains("abc"));
  EXPECT_TRUE(ids.Insert("caf\xC3\xA9"));
  EXPECT_FALSE(ids.Contains("CAF\xC3\x89"));
  EXPECT_TRUE(ids.Insert(""));
  EXPECT_TRUE(ids.Contains(""));
  ids.Erase("ABC1");
  EXPECT_FALSE(ids.Contains("abc1"));
  EXPECT_TRUE(ids.Insert("abc1"));
  ids.Clear();
  EXPECT_FALSE(ids.Contains("abc1"));
}

// Inserts and erasures in any order, through growth and reuse of erased
// slots, answer as a plain set of the folded ids does.
TEST(IdSetTest, AgreesWithAPlainSet) {
  TIdSet ids;
  std::set<std::string> reference;
  std::mt19937 random(42);
  for (int step = 0; step < 50000; ++step) {
    std::string id = "id" + std::to_string(std::uniform_int_distribution<int>(0, 3000)(random));
    if (random() % 2 == 0)
      id = "ID" + id.substr(2);
    const std::string folded = Platform::AsciiLowerCase(id);
    switch (random() % 3) {
      case 0:
        ASSERT_EQ(ids.Insert(id), reference.insert(folded).second) << id;
        break;
      case 1:
        ids.Erase(id);
        reference.erase(folded);
        break;
      default:
        ASSERT_EQ(ids.Contains(id), reference.count(folded) == 1) << id;
    }
  }
}

}  // namespace
}  // namespace JoplinRestUtils
