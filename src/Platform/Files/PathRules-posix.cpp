#include "Platform/Files/PathRules.hpp"

#include <vector>

#include "Platform/Files/Files.hpp"

namespace Platform {
namespace {

std::string NormaliseAbsolute(std::string_view absolute) {
  std::vector<std::string_view> segments;
  size_t start = 0;
  while (start <= absolute.size()) {
    size_t end = absolute.find('/', start);
    if (end == std::string_view::npos)
      end = absolute.size();
    const std::string_view segment = absolute.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty())
        segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string result;
  for (const auto segment : segments) {
    result += '/';
    result += segment;
  }
  if (result.empty() || absolute.ends_with('/'))
    result += '/';
  return result;
}

}  // namespace

char PathDelimiter() {
  return '/';
}

bool EndsDirectoryPart(char c) {
  return c == '/';
}

bool StartsWithDrive(std::string_view /*text*/) {
  return false;
}

bool IsForbiddenPathChar(char c, bool /*wildcards*/) {
  return c == '\0';
}

bool IsRootedPath(std::string_view path) {
  return path.starts_with('/');
}

size_t ExtendedPrefixLength(std::string_view) {
  return 0;
}

std::string AbsolutePath(std::string_view path) {
  if (IsRootedPath(path))
    return NormaliseAbsolute(path);
  std::string joined = CurrentDirectory();
  if (!joined.ends_with('/'))
    joined += '/';
  joined += path;
  return NormaliseAbsolute(joined);
}

std::string_view DirectoryPart(std::string_view path, size_t nameStart) {
  if (nameStart == 0)
    return {};
  return nameStart == 1 ? path.substr(0, 1) : path.substr(0, nameStart - 1);
}

}  // namespace Platform
