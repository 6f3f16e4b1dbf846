// A Markdown text that may begin with a front-matter block: the block found,
// its YAML read into the note's fields (libyaml underneath), and every date
// form read alone.
#include <cstdlib>

#include "JoplinRestUtils/Markup/FrontMatter.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool zoned = [] {
    ::setenv("TZ", "Europe/Berlin", 1);
    return true;
  }();
  (void)zoned;
  const std::string_view text = Fuzz::AsText(data, size);
  JoplinRestUtils::ReadFrontMatterDate(text.substr(0, 64));
  JoplinRestUtils::TFrontMatterBlock block;
  if (JoplinRestUtils::FindFrontMatter(text, block) != JoplinRestUtils::TFrontMatterSearch::Found)
    return 0;
  if (block.BodyStart > text.size())
    std::abort();
  std::vector<std::string> warnings;
  try {
    JoplinRestUtils::ReadFrontMatter(block, "fuzz.md", warnings);
  } catch (const JoplinRestUtils::EFrontMatterError&) {
  }
  return 0;
}
