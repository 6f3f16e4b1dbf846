#include "Kestrel/CommonLib/Text/TextHelpers.hpp"

#include <vector>

#include "Platform/Text/UnicodeCase.hpp"
#include "Platform/Text/Utf8.hpp"

namespace Kestrel::CommonLib {
namespace {

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

std::vector<char32_t> UpperCodePoints(std::string_view text) {
  std::vector<char32_t> codePoints = Platform::DecodeCodePoints(text);
  for (auto& codePoint : codePoints)
    codePoint = Platform::SimpleUpperCase(codePoint);
  return codePoints;
}

// Length in bytes of the stretch at `pos` whose upper-case form equals
// `upperPattern`, or 0 when there is none.
size_t MatchIgnoringCase(std::string_view text, size_t pos,
                         const std::vector<char32_t>& upperPattern) {
  size_t cursor = pos;
  for (const char32_t wanted : upperPattern) {
    if (cursor >= text.size())
      return 0;
    if (Platform::SimpleUpperCase(Platform::NextCodePoint(text, cursor)) != wanted)
      return 0;
  }
  return cursor - pos;
}

// Finds the next match at or after `from`; sets its length, or returns npos.
size_t FindNext(std::string_view text, std::string_view oldText,
                const std::vector<char32_t>& upperOld, bool caseSensitive, size_t from,
                size_t& length) {
  if (caseSensitive) {
    length = oldText.size();
    return text.find(oldText, from);
  }
  size_t pos = from;
  while (pos < text.size()) {
    length = MatchIgnoringCase(text, pos, upperOld);
    if (length > 0)
      return pos;
    pos += Platform::Utf8SequenceLength(text.substr(pos));
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view TrimText(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back()))
    text.remove_suffix(1);
  return text;
}

bool IsEmptyText(std::string_view text, bool trim) {
  return (trim ? TrimText(text) : text).empty();
}

bool IsNotEmptyText(std::string_view text, bool trim) {
  return !IsEmptyText(text, trim);
}

std::string ReplaceText(std::string_view text, std::string_view oldText, std::string_view newText,
                        bool caseSensitive, bool replaceAll) {
  if (oldText.empty() || text.empty())
    return std::string(text);
  const std::vector<char32_t> upperOld =
      caseSensitive ? std::vector<char32_t>{} : UpperCodePoints(oldText);
  std::string result;
  size_t copied = 0;
  size_t length = 0;
  size_t found = FindNext(text, oldText, upperOld, caseSensitive, 0, length);
  while (found != std::string_view::npos) {
    result.append(text.substr(copied, found - copied));
    result.append(newText);
    copied = found + length;
    if (!replaceAll)
      break;
    found = FindNext(text, oldText, upperOld, caseSensitive, copied, length);
  }
  result.append(text.substr(copied));
  return result;
}

std::string KeepChars(std::string_view text, std::string_view allowed) {
  const std::vector<char32_t> allowedCodePoints = Platform::DecodeCodePoints(allowed);
  std::string result;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const char32_t codePoint = Platform::NextCodePoint(text, pos);
    for (const char32_t candidate : allowedCodePoints) {
      if (candidate == codePoint) {
        result.append(text.substr(start, pos - start));
        break;
      }
    }
  }
  return result;
}

std::string IfThenStr(bool flag, std::string_view whenTrue, std::string_view whenFalse) {
  return std::string(flag ? whenTrue : whenFalse);
}

}  // namespace Kestrel::CommonLib
