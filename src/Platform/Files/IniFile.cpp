#include "Platform/Files/IniFile.hpp"

#include <string_view>

#include "Platform/Files/Files.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/TextDecoding.hpp"
#include "Platform/Text/Utf8.hpp"

namespace Platform {
namespace {

constexpr size_t kMaxValueUnits = 2047;

std::string_view TrimBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool SameAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
      return false;
  }
  return true;
}

std::string_view DropEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string DecodeIniBytes(const std::string& bytes) {
  std::string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    if (DecodeBytes(std::string_view(bytes).substr(2), TextEncoding::Utf16Le, text))
      return text;
    return {};
  }
  std::string_view view(bytes);
  if (view.starts_with("\xEF\xBB\xBF"))
    view.remove_prefix(3);
  return SanitizeUtf8(view);
}

// Calls `onLine` with each line of `text`, without its line end.
template <typename Fn>
void ForEachLine(std::string_view text, Fn onLine) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    if (!onLine(text.substr(start, end - start)))
      return;
    start = end + 1;
  }
}

}  // namespace

IniFile::IniFile(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes, kMaxSize + 1, FFailure))
    FText = DecodeIniBytes(bytes);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  enum class Where { Before, Inside, After } where = Where::Before;
  std::string result = defaultValue;
  ForEachLine(FText, [&](std::string_view rawLine) {
    const std::string_view line = TrimBlanks(rawLine);
    if (line.starts_with('[')) {
      const size_t close = line.find(']');
      const std::string_view name =
          TrimBlanks(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      if (where == Where::Inside)
        where = Where::After;
      if (where == Where::Before && SameAsciiCase(name, section))
        where = Where::Inside;
      return where != Where::After;
    }
    if (where != Where::Inside || line.starts_with(';'))
      return true;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      return true;
    if (!SameAsciiCase(TrimBlanks(line.substr(0, equals)), key))
      return true;
    const std::string_view value = DropEnclosingQuotes(TrimBlanks(line.substr(equals + 1)));
    result = std::string(Utf16Prefix(value, kMaxValueUnits));
    return false;
  });
  return result;
}

}  // namespace Platform
