#pragma once
// Where a Markdown body points: the destinations of inline images and links
// ("![alt](dest "title")", "[text](<dest>)") and of reference definitions
// ("[id]: dest"), outside code spans and fenced code blocks. One pass over
// the text, no backtracking: linear in its size.
#include <string>
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

struct TMarkdownTarget {
  size_t Start = 0;   // byte offset of the destination, inside any "<" ">"
  size_t Length = 0;  // its length
};

std::vector<TMarkdownTarget> FindMarkdownTargets(std::string_view markdown);

// A destination that may name a local file: not empty, no URL with a scheme
// ("https:", "mailto:"), no anchor ("#x"), no Joplin resource (":/id").
bool IsLocalTarget(std::string_view target);

// "%XX" sequences decoded, as a file name is looked up; others kept.
std::string PercentDecode(std::string_view text);

}  // namespace JoplinRestUtils
