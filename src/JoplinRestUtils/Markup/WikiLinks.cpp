#include "JoplinRestUtils/Markup/WikiLinks.hpp"

namespace JoplinRestUtils {
namespace {

// A line that opens or closes a fenced code block: up to three spaces, then
// three or more "`" or "~".
bool IsFenceLine(std::string_view line, char& fence) {
  size_t pos = 0;
  while (pos < line.size() && pos < 4 && line[pos] == ' ')
    ++pos;
  if (pos > 3 || pos + 3 > line.size() || (line[pos] != '`' && line[pos] != '~'))
    return false;
  if (line[pos + 1] != line[pos] || line[pos + 2] != line[pos])
    return false;
  fence = line[pos];
  return true;
}

// The end of the code span opened by the backtick run at `pos`; the run
// alone when no run of the same length closes it on the line.
size_t SkipCodeSpan(std::string_view line, size_t pos) {
  size_t run = 0;
  while (pos + run < line.size() && line[pos + run] == '`')
    ++run;
  for (size_t at = line.find('`', pos + run); at != std::string_view::npos;) {
    size_t closing = 0;
    while (at + closing < line.size() && line[at + closing] == '`')
      ++closing;
    if (closing == run)
      return at + closing;
    at = line.find('`', at + closing);
  }
  return pos + run;
}

void ReadInner(std::string_view inner, TWikiLink& link) {
  const size_t bar = inner.find('|');
  if (bar != std::string_view::npos) {
    link.Alias = inner.substr(bar + 1);
    inner = inner.substr(0, bar);
  }
  const size_t hash = inner.find('#');
  if (hash != std::string_view::npos) {
    link.Anchor = inner.substr(hash + 1);
    inner = inner.substr(0, hash);
  }
  link.Target = inner;
}

void ScanLine(std::string_view line, size_t lineStart, std::vector<TWikiLink>& links) {
  for (size_t pos = 0; pos < line.size();) {
    if (line[pos] == '`') {
      pos = SkipCodeSpan(line, pos);
      continue;
    }
    if (line.compare(pos, 2, "[[") != 0) {
      ++pos;
      continue;
    }
    const size_t close = line.find("]]", pos + 2);
    const std::string_view inner = close == std::string_view::npos
                                       ? std::string_view()
                                       : line.substr(pos + 2, close - pos - 2);
    if (inner.empty() || inner.find_first_of("[]") != std::string_view::npos) {
      pos += 2;
      continue;
    }
    TWikiLink link;
    link.Embed = pos > 0 && line[pos - 1] == '!';
    link.Start = lineStart + pos - (link.Embed ? 1 : 0);
    link.Length = close + 2 - pos + (link.Embed ? 1 : 0);
    ReadInner(inner, link);
    if (!link.Target.empty())
      links.push_back(link);
    pos = close + 2;
  }
}

}  // namespace

std::vector<TWikiLink> FindWikiLinks(std::string_view markdown) {
  std::vector<TWikiLink> links;
  char openFence = 0;
  for (size_t start = 0; start < markdown.size();) {
    size_t end = markdown.find('\n', start);
    if (end == std::string_view::npos)
      end = markdown.size();
    const std::string_view line = markdown.substr(start, end - start);
    char fence = 0;
    if (IsFenceLine(line, fence)) {
      if (openFence == 0)
        openFence = fence;
      else if (fence == openFence)
        openFence = 0;
    } else if (openFence == 0) {
      ScanLine(line, start, links);
    }
    start = end + 1;
  }
  return links;
}

}  // namespace JoplinRestUtils
