#include "JoplinRestUtils/Markup/MarkdownTargets.hpp"

#include <algorithm>
#include <unordered_map>

#include "Platform/Files/PathRules.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

// Destinations and titles longer than this are not read as such (no path is
// longer), so that no position of the text is read more than a bounded number
// of times.
constexpr size_t kLongestPart = 4096;

// The run of `c` starting at `pos`.
size_t RunLength(std::string_view text, size_t pos, char c) {
  size_t end = pos;
  while (end < text.size() && text[end] == c)
    ++end;
  return end - pos;
}

size_t SkipSpaces(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
    ++pos;
  return pos;
}

// A fence line: up to three spaces, then three or more "`" or "~".
bool IsFence(std::string_view line, char& fenceChar, size_t& fenceLength) {
  const size_t indent = SkipSpaces(line, 0);
  if (indent > 3 || indent >= line.size() || (line[indent] != '`' && line[indent] != '~'))
    return false;
  const size_t run = RunLength(line, indent, line[indent]);
  if (run < 3)
    return false;
  fenceChar = line[indent];
  fenceLength = run;
  return true;
}

// The end of the destination after "(" (or after "]:"), setting the target;
// npos when it is none.
size_t ParseDestination(std::string_view line, size_t pos, TMarkdownTarget& target,
                        size_t lineStart) {
  pos = SkipSpaces(line, pos);
  if (pos < line.size() && line[pos] == '<') {
    const size_t close = line.substr(0, pos + 1 + kLongestPart).find('>', pos + 1);
    if (close == std::string_view::npos ||
        line.substr(pos + 1, close - pos - 1).find('<') != std::string_view::npos)
      return std::string_view::npos;
    target = {lineStart + pos + 1, close - pos - 1};
    return close + 1;
  }
  const size_t start = pos;
  int depth = 0;
  while (pos < line.size()) {
    if (pos - start > kLongestPart)
      return std::string_view::npos;
    const char c = line[pos];
    if (c == '\\' && pos + 1 < line.size()) {
      pos += 2;
      continue;
    }
    if (c == ' ' || c == '\t' || static_cast<unsigned char>(c) < 0x20)
      break;
    if (c == '(')
      ++depth;
    if (c == ')') {
      if (depth == 0)
        break;
      --depth;
    }
    ++pos;
  }
  target = {lineStart + start, pos - start};
  return pos;
}

// After an inline destination: an optional title, then ")". The position of
// that ")", or npos.
size_t InlineLinkEnd(std::string_view line, size_t pos) {
  pos = SkipSpaces(line, pos);
  if (pos < line.size() && (line[pos] == '"' || line[pos] == '\'' || line[pos] == '(')) {
    const char close = line[pos] == '(' ? ')' : line[pos];
    const size_t end = std::min(line.size(), pos + kLongestPart);
    for (++pos; pos < end && line[pos] != close; ++pos) {
      if (line[pos] == '\\')
        ++pos;
    }
    if (pos >= end)
      return std::string_view::npos;
    pos = SkipSpaces(line, pos + 1);
  }
  return pos < line.size() && line[pos] == ')' ? pos : std::string_view::npos;
}

// The "]" that closes the "[" at `open`, over nested brackets and escapes,
// stopping at a code span; npos when there is none on the line.
size_t MatchingBracket(std::string_view line, size_t open) {
  int depth = 0;
  for (size_t pos = open; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '\\') {
      ++pos;
    } else if (c == '`') {
      return std::string_view::npos;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']' && --depth == 0) {
      return pos;
    }
  }
  return std::string_view::npos;
}

// "[label]: dest" at the start of a line (up to three spaces in).
void ScanDefinition(std::string_view line, size_t lineStart,
                    std::vector<TMarkdownTarget>& targets) {
  const size_t open = SkipSpaces(line, 0);
  if (open > 3 || open >= line.size() || line[open] != '[')
    return;
  const size_t close = MatchingBracket(line, open);
  if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != ':' ||
      close == open + 1)
    return;
  TMarkdownTarget target;
  if (ParseDestination(line, close + 2, target, lineStart) != std::string_view::npos &&
      target.Length > 0)
    targets.push_back(target);
}

// For each backtick run that opens a code span, the end of that span: the
// next run of the same length closes it. Found from the right in one pass.
std::unordered_map<size_t, size_t> CodeSpans(std::string_view line) {
  std::vector<std::pair<size_t, size_t>> runs;  // start, length
  for (size_t pos = 0; pos < line.size();) {
    if (line[pos] == '\\') {
      pos += 2;
    } else if (line[pos] == '`') {
      const size_t run = RunLength(line, pos, '`');
      runs.emplace_back(pos, run);
      pos += run;
    } else {
      ++pos;
    }
  }
  std::unordered_map<size_t, size_t> nextOfLength;  // length -> index of the next such run
  std::vector<size_t> closer(runs.size(), runs.size());
  for (size_t i = runs.size(); i-- > 0;) {
    const auto next = nextOfLength.find(runs[i].second);
    if (next != nextOfLength.end())
      closer[i] = next->second;
    nextOfLength[runs[i].second] = i;
  }
  std::unordered_map<size_t, size_t> spans;
  for (size_t i = 0; i < runs.size();) {
    if (closer[i] == runs.size()) {
      ++i;
      continue;
    }
    const size_t j = closer[i];
    spans[runs[i].first] = runs[j].first + runs[j].second;
    i = j + 1;
  }
  return spans;
}

// Code spans and escaped characters are passed over whole: the position after
// the one that starts at `pos`, or `pos` itself when none does.
size_t PastSpanOrEscape(std::string_view line, const std::unordered_map<size_t, size_t>& spans,
                        size_t pos) {
  const auto span = spans.find(pos);
  if (span != spans.end())
    return span->second;
  return line[pos] == '\\' ? pos + 2 : pos;
}

// Inline links and images of one line outside code spans: brackets matched
// with a stack, each destination read once.
void ScanInline(std::string_view line, size_t lineStart, std::vector<TMarkdownTarget>& targets) {
  const std::unordered_map<size_t, size_t> spans = CodeSpans(line);
  std::unordered_map<size_t, size_t> closeOf;  // "[" -> its "]"
  std::vector<size_t> open;
  for (size_t pos = 0; pos < line.size();) {
    if (const size_t past = PastSpanOrEscape(line, spans, pos); past != pos) {
      pos = past;
      continue;
    }
    if (line[pos] == '[') {
      open.push_back(pos);
    } else if (line[pos] == ']' && !open.empty()) {
      closeOf[open.back()] = pos;
      open.pop_back();
    }
    ++pos;
  }
  // Where a destination starts: skip to its end, taking the target then, so
  // that targets come in text order (an image inside a link's text first).
  std::unordered_map<size_t, std::pair<size_t, TMarkdownTarget>> destinations;
  for (size_t pos = 0; pos < line.size();) {
    const auto destination = destinations.find(pos);
    if (destination != destinations.end()) {
      if (destination->second.second.Length > 0)
        targets.push_back(destination->second.second);
      pos = destination->second.first;
      continue;
    }
    if (const size_t past = PastSpanOrEscape(line, spans, pos); past != pos) {
      pos = past;
      continue;
    }
    const auto close = line[pos] == '[' ? closeOf.find(pos) : closeOf.end();
    if (close != closeOf.end() && close->second + 1 < line.size() &&
        line[close->second + 1] == '(') {
      TMarkdownTarget target;
      const size_t after = ParseDestination(line, close->second + 2, target, lineStart);
      const size_t end = after == std::string_view::npos ? after : InlineLinkEnd(line, after);
      if (end != std::string_view::npos)
        destinations[close->second] = {end + 1, target};
    }
    ++pos;
  }
}

}  // namespace

std::vector<TMarkdownTarget> FindMarkdownTargets(std::string_view markdown) {
  std::vector<TMarkdownTarget> targets;
  // Every destination follows a "]": a text without one has none, and most
  // large bodies are such texts.
  if (markdown.find(']') == std::string_view::npos)
    return targets;
  char fenceChar = 0;
  size_t fenceLength = 0;
  bool inFence = false;
  size_t lineStart = 0;
  while (lineStart < markdown.size()) {
    size_t lineEnd = markdown.find('\n', lineStart);
    if (lineEnd == std::string_view::npos)
      lineEnd = markdown.size();
    std::string_view line = markdown.substr(lineStart, lineEnd - lineStart);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    char lineFence = 0;
    size_t lineFenceLength = 0;
    if (inFence) {
      if (IsFence(line, lineFence, lineFenceLength) && lineFence == fenceChar &&
          lineFenceLength >= fenceLength &&
          SkipSpaces(line, line.find_first_not_of(" ") + lineFenceLength) == line.size())
        inFence = false;
    } else if (IsFence(line, fenceChar, fenceLength)) {
      inFence = true;
    } else if (line.find(']') != std::string_view::npos) {
      const size_t before = targets.size();
      ScanDefinition(line, lineStart, targets);
      if (targets.size() == before)
        ScanInline(line, lineStart, targets);
    }
    lineStart = lineEnd + 1;
  }
  return targets;
}

bool IsLocalTarget(std::string_view target) {
  if (target.empty() || target.front() == '#' || target.starts_with(":/"))
    return false;
  // "C:\notes\pic.png" on Windows: a drive, not a URL scheme.
  if (Platform::StartsWithDrive(target))
    return true;
  // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
  if (!Platform::IsAsciiLetter(target.front()))
    return true;
  for (size_t i = 1; i < target.size(); ++i) {
    const char c = target[i];
    if (c == ':')
      return false;
    if (!Platform::IsAsciiAlnum(c) && c != '+' && c != '-' && c != '.')
      return true;
  }
  return true;
}

std::string PercentDecode(std::string_view text) {
  const auto hexValue = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    return -1;
  };
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = hexValue(text[i + 1]);
      const int low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    decoded += text[i];
  }
  return decoded;
}

}  // namespace JoplinRestUtils
