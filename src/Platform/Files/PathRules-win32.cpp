#include <windows.h>

#include "Platform/Files/PathRules.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {
namespace {

bool IsValidPathChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && c != '"' && c != '<' && c != '>' && c != '|';
}

}  // namespace

char PathDelimiter() {
  return '\\';
}

// The system takes "/" for "\" (C:/Users/me/pic.png), so both end a folder.
bool EndsDirectoryPart(char c) {
  return c == '\\' || c == '/' || c == ':';
}

bool StartsWithDrive(std::string_view text) {
  return text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == ':' &&
         (text[2] == '\\' || text[2] == '/');
}

bool IsForbiddenPathChar(char c, bool wildcards) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || c == '"' || c == '<' || c == '>' || c == '|')
    return true;
  return wildcards && (c == '?' || c == '*');
}

size_t ExtendedPrefixLength(std::string_view path) {
  if (AsciiLowerCase(path.substr(0, 8)) == R"(\\?\unc\)")
    return 8;
  return path.starts_with("\\\\?\\") ? 4 : 0;
}

// Drive forms (C:\dir, and the drive-relative C:dir), root-relative and UNC
// paths (\dir, \\server\share), each also behind the extended-length prefix.
bool IsRootedPath(std::string_view path) {
  const size_t prefix = ExtendedPrefixLength(path);
  if (prefix == 8)
    return path.size() > 8 && IsValidPathChar(path[8]);
  const bool prefixed = prefix > 0;
  const std::string_view rest = path.substr(prefix);
  if (rest.size() >= 2 && rest[1] == ':')
    return true;
  return !prefixed && !rest.empty() && (rest[0] == '\\' || rest[0] == '/');
}

// The system's own resolution: "/" becomes "\", a root-relative path takes
// the current drive, and "." and ".." go.
std::string AbsolutePath(std::string_view path) {
  const std::wstring wide = WideText(path);
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0)
      return std::string(path);
    if (length < buffer.size())
      return Utf8Text(std::wstring_view(buffer.data(), length));
    buffer.resize(length + 1);
  }
}

// A delimiter right after the drive colon or another delimiter is the root's
// own, and stays ("C:\", "\\").
std::string_view DirectoryPart(std::string_view path, size_t nameStart) {
  if (nameStart == 0)
    return {};
  size_t end = nameStart;
  if (end > 1 && (path[end - 1] == '\\' || path[end - 1] == '/') &&
      !EndsDirectoryPart(path[end - 2]))
    --end;
  return path.substr(0, end);
}

}  // namespace Platform
