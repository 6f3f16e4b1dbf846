#include "Platform/Console/CommandLine.hpp"

namespace Platform {
namespace {

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x01 && byte <= 0x20;
}

// Separators and empty quoted pairs before an item.
size_t SkipToItem(std::string_view line, size_t pos) {
  while (pos < line.size()) {
    if (IsSeparator(line[pos])) {
      ++pos;
    } else if (line.substr(pos, 2) == "\"\"") {
      pos += 2;
    } else {
      break;
    }
  }
  return pos;
}

std::string ReadItem(std::string_view line, size_t& pos) {
  std::string item;
  bool quoted = false;
  for (; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && static_cast<unsigned char>(c) <= 0x20) {
      break;
    } else {
      item += c;
    }
  }
  return item;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> params;
  bool programPath = true;
  for (size_t pos = SkipToItem(commandLine, 0); pos < commandLine.size();
       pos = SkipToItem(commandLine, pos)) {
    std::string item = ReadItem(commandLine, pos);
    if (!programPath && !item.empty())
      params.push_back(std::move(item));
    programPath = false;
  }
  return params;
}

}  // namespace Platform
