#include "JoplinRestUtils/Markup/HtmlInertParts.hpp"

#include <algorithm>

#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

// The position of `needle` (lower case) in `text` from `from` on, ignoring
// ASCII case; npos when it is not there.
size_t FindIgnoringCase(std::string_view text, std::string_view needle, size_t from) {
  const auto found =
      std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(),
                  needle.end(), [](char a, char b) { return Platform::AsciiLower(a) == b; });
  return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

// A script element's start tag: "<script" followed by a blank, "/" or ">".
bool StartsScript(std::string_view html, size_t at) {
  const size_t after = at + 7;
  return after < html.size() && (html[after] == '>' || html[after] == '/' || html[after] == ' ' ||
                                 html[after] == '\t' || html[after] == '\n' || html[after] == '\r');
}

}  // namespace

std::vector<TTextRange> FindInertParts(std::string_view html) {
  std::vector<TTextRange> parts;
  size_t at = 0;
  while (at < html.size()) {
    const size_t comment = html.find("<!--", at);
    size_t script = FindIgnoringCase(html, "<script", at);
    while (script != std::string_view::npos && !StartsScript(html, script))
      script = FindIgnoringCase(html, "<script", script + 1);
    if (comment == std::string_view::npos && script == std::string_view::npos)
      break;
    TTextRange part;
    if (comment < script) {
      part.Start = comment;
      const size_t end = html.find("-->", comment + 4);
      part.End = end == std::string_view::npos ? html.size() : end + 3;
    } else {
      part.Start = script;
      const size_t end = FindIgnoringCase(html, "</script", script + 7);
      part.End = end == std::string_view::npos ? html.size() : end + 8;
    }
    parts.push_back(part);
    at = part.End;
  }
  return parts;
}

bool LiesInAny(const std::vector<TTextRange>& ranges, size_t position) {
  const auto after =
      std::upper_bound(ranges.begin(), ranges.end(), position,
                       [](size_t value, const TTextRange& range) { return value < range.Start; });
  return after != ranges.begin() && position < std::prev(after)->End;
}

}  // namespace JoplinRestUtils
