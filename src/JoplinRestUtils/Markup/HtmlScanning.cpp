#include "JoplinRestUtils/Markup/HtmlScanning.hpp"

#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether `word` (lower case) stands at `pos`, in any case with `anyCase`.
bool WordAt(std::string_view text, size_t pos, std::string_view word, bool anyCase) {
  if (text.size() - pos < word.size())
    return false;
  for (size_t i = 0; i < word.size(); ++i) {
    const char c = text[pos + i];
    if (c != word[i] && !(anyCase && Platform::AsciiLower(c) == word[i]))
      return false;
  }
  return true;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos]))
    ++pos;
  return pos;
}

// The reference that starts at `pos`, if one does.
std::optional<THtmlMatch> ReferenceAt(std::string_view html, size_t pos, bool anyCase) {
  if (!WordAt(html, pos, "src", anyCase))
    return std::nullopt;
  size_t cursor = SkipBlanks(html, pos + 3);
  if (cursor >= html.size() || html[cursor] != '=')
    return std::nullopt;
  cursor = SkipBlanks(html, cursor + 1);
  if (cursor >= html.size() || html[cursor] != '"')
    return std::nullopt;
  const size_t closing = html.find('"', cursor + 1);
  if (closing == std::string_view::npos || closing == cursor + 1)
    return std::nullopt;
  return THtmlMatch{pos, closing + 1 - pos, html.substr(cursor + 1, closing - cursor - 1)};
}

}  // namespace

std::optional<THtmlMatch> FindHtmlTitle(std::string_view html) {
  constexpr std::string_view kOpen = "<title>";
  constexpr std::string_view kClose = "</title>";
  for (size_t pos = html.find('<'); pos != std::string_view::npos; pos = html.find('<', pos + 1)) {
    if (!WordAt(html, pos, kOpen, true))
      continue;
    const size_t inner = pos + kOpen.size();
    const size_t next = html.find('<', inner);
    if (next != std::string_view::npos && WordAt(html, next, kClose, true))
      return THtmlMatch{pos, next + kClose.size() - pos, html.substr(inner, next - inner)};
  }
  return std::nullopt;
}

std::vector<THtmlMatch> FindImageReferences(std::string_view html, bool anyCase) {
  std::vector<THtmlMatch> references;
  size_t pos = 0;
  while (pos < html.size()) {
    const char c = html[pos];
    if (c == 's' || (anyCase && c == 'S')) {
      if (std::optional<THtmlMatch> reference = ReferenceAt(html, pos, anyCase)) {
        pos = reference->Start + reference->Length;
        references.push_back(*reference);
        continue;
      }
    }
    ++pos;
  }
  return references;
}

}  // namespace JoplinRestUtils
