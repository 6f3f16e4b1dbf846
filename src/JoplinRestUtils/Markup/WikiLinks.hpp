#pragma once
// The "[[wiki links]]" that other Markdown applications write between notes:
// "[[Name]]", "[[Name|shown text]]", "[[Name#Heading]]", and "![[file]]" to
// embed a file. Outside fenced code blocks and code spans, on one line, in
// one pass.
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

struct TWikiLink {
  size_t Start = 0;   // of the "[[" (or of the "!" of an embed)
  size_t Length = 0;  // through the "]]"
  bool Embed = false;
  std::string_view Target;  // the name before any "#" or "|"
  std::string_view Anchor;  // after "#", before "|"
  std::string_view Alias;   // after "|"
};

std::vector<TWikiLink> FindWikiLinks(std::string_view markdown);

}  // namespace JoplinRestUtils
