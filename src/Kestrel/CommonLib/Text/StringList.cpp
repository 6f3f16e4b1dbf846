#include "Kestrel/CommonLib/Text/StringList.hpp"

#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace Kestrel::CommonLib {

std::string TStringList::Text() const {
  size_t size = 0;
  for (const auto& line : FLines)
    size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : FLines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(std::string_view text) {
  FLines.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      FLines.emplace_back(text.substr(start));
      break;
    }
    FLines.emplace_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

std::string_view TStringList::NameOf(std::string_view entry) {
  const size_t equals = entry.find('=');
  return equals == std::string_view::npos ? entry : entry.substr(0, equals);
}

std::string_view TStringList::ValueOf(std::string_view entry) {
  const size_t equals = entry.find('=');
  return equals == std::string_view::npos ? std::string_view() : entry.substr(equals + 1);
}

std::ptrdiff_t TStringList::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < FLines.size(); ++i) {
    const std::string_view entry = FLines[i];
    if (entry.find('=') != std::string_view::npos && SameText(NameOf(entry), name))
      return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

std::string TStringList::Value(std::string_view name) const {
  const std::ptrdiff_t index = IndexOfName(name);
  return index < 0 ? std::string() : std::string(ValueOf(FLines[static_cast<size_t>(index)]));
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
  const std::ptrdiff_t index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0)
      Delete(static_cast<size_t>(index));
    return;
  }
  std::string entry = std::string(name) + "=" + std::string(value);
  if (index >= 0) {
    FLines[static_cast<size_t>(index)] = std::move(entry);
  } else {
    FLines.push_back(std::move(entry));
  }
}

}  // namespace Kestrel::CommonLib
