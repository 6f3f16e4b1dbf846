#include "Kestrel/CommonLib/PathHelpers.hpp"

#include <vector>

#include "Kestrel/CommonLib/TextHelpers.hpp"
#include "Platform/Charset.hpp"
#include "Platform/Files.hpp"

namespace Kestrel::CommonLib {
namespace {

bool HasInvalidPathChar(std::string_view path, bool wildcardsInvalid) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '"' || c == '<' || c == '>' || c == '|')
      return true;
    if (wildcardsInvalid && (c == '?' || c == '*'))
      return true;
  }
  return false;
}

[[noreturn]] void ThrowInvalidPath(std::string_view path) {
  throw EInvalidPath("Illegal characters in path: \"" + std::string(path) + "\"");
}

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

std::string JoinPath(std::initializer_list<std::string_view> parts, bool trailingDelimiter) {
  std::string result;
  bool first = true;
  for (const auto part : parts) {
    if (!first && !result.ends_with('/'))
      result += '/';
    result += part;
    first = false;
  }
  if (trailingDelimiter && !result.ends_with('/'))
    result += '/';
  return result;
}

std::string FullPath(std::string_view path) {
  if (IsEmptyText(path, true) || HasInvalidPathChar(path, false))
    ThrowInvalidPath(path);
  return AbsolutePath(path);
}

std::string AbsolutePath(std::string_view path) {
  if (path.starts_with('/'))
    return NormaliseAbsolute(path);
  return NormaliseAbsolute(JoinPath({Platform::CurrentDirectory(), path}, false));
}

std::string CombinePath(std::string_view path, std::string_view baseDir) {
  if (HasInvalidPathChar(path, true))
    ThrowInvalidPath(path);
  if (path.starts_with('/'))
    return std::string(path);
  if (baseDir.empty())
    return FullPath(path);
  if (HasInvalidPathChar(baseDir, false))
    ThrowInvalidPath(baseDir);
  return FullPath(JoinPath({baseDir, path}, false));
}

std::string DisplayFileName(std::string_view path) {
  return Platform::DecodeFromLocale(ExtractFileName(path));
}

std::string_view ExtractFileName(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ExtractFileExt(std::string_view path) {
  const std::string_view name = ExtractFileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view ExtractFileBaseName(std::string_view path) {
  const std::string_view name = ExtractFileName(path);
  return name.substr(0, name.size() - ExtractFileExt(name).size());
}

std::string_view ExtractFileDir(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos)
    return {};
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

}  // namespace Kestrel::CommonLib
