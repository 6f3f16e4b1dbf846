#include "Kestrel/CommonLib/PathHelpers.hpp"

#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Files/PathRules.hpp"
#include "Platform/Text/Charset.hpp"

namespace Kestrel::CommonLib {
namespace {

bool HasInvalidPathChar(std::string_view path, bool wildcardsInvalid) {
  for (const char c : path) {
    if (Platform::IsForbiddenPathChar(c, wildcardsInvalid))
      return true;
  }
  return false;
}

[[noreturn]] void ThrowInvalidPath(std::string_view path) {
  throw EInvalidPath("Illegal characters in path: \"" + std::string(path) + "\"");
}

size_t FileNameStart(std::string_view path) {
  size_t start = path.size();
  while (start > 0 && !Platform::EndsDirectoryPart(path[start - 1]))
    --start;
  return start;
}

}  // namespace

std::string JoinPath(std::initializer_list<std::string_view> parts, bool trailingDelimiter) {
  const char delimiter = Platform::PathDelimiter();
  std::string result;
  bool first = true;
  for (const auto part : parts) {
    if (!first && !result.ends_with(delimiter))
      result += delimiter;
    result += part;
    first = false;
  }
  if (trailingDelimiter && !result.ends_with(delimiter))
    result += delimiter;
  return result;
}

std::string FullPath(std::string_view path) {
  if (IsEmptyText(path, true) || HasInvalidPathChar(path, false))
    ThrowInvalidPath(path);
  return AbsolutePath(path);
}

std::string AbsolutePath(std::string_view path) {
  return Platform::AbsolutePath(path);
}

std::string CombinePath(std::string_view path, std::string_view baseDir) {
  if (HasInvalidPathChar(path.substr(Platform::ExtendedPrefixLength(path)), true))
    ThrowInvalidPath(path);
  if (Platform::IsRootedPath(path))
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
  return path.substr(FileNameStart(path));
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
  return Platform::DirectoryPart(path, FileNameStart(path));
}

bool LiesUnder(std::string_view path, std::string_view folder) {
  if (folder.empty())
    return false;
  const bool rooted = folder.back() == Platform::PathDelimiter();
  return path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
         (rooted || path[folder.size()] == Platform::PathDelimiter());
}

}  // namespace Kestrel::CommonLib
