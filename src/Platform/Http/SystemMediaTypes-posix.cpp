#include "Platform/Http/SystemMediaTypes.hpp"

#include "Platform/Files/Files.hpp"

namespace Platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The words of one line of mime.types: the type, then its extensions.
std::string_view NextWord(std::string_view line, size_t& pos) {
  while (pos < line.size() && IsBlank(line[pos]))
    ++pos;
  const size_t start = pos;
  while (pos < line.size() && !IsBlank(line[pos]))
    ++pos;
  return line.substr(start, pos - start);
}

}  // namespace

std::string SystemMediaType(std::string_view extension) {
  // Read once; a run looks up one or a few extensions, so each look-up reads
  // the lines instead of building a table of all of them.
  static const std::string content = [] {
    std::string bytes;
    ReadWholeFile("/etc/mime.types", bytes);
    return bytes;
  }();
  const std::string_view text = content;
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos)
      lineEnd = text.size();
    const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    if (line.empty() || line[0] == '#')
      continue;
    size_t pos = 0;
    const std::string_view type = NextWord(line, pos);
    // The first type listed for an extension wins.
    for (std::string_view word = NextWord(line, pos); !word.empty(); word = NextWord(line, pos)) {
      if (word == extension)
        return std::string(type);
    }
  }
  return {};
}

}  // namespace Platform
