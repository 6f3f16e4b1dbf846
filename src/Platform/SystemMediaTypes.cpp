#include "Platform/SystemMediaTypes.hpp"

#include <map>
#include <sstream>

#include "Platform/Files.hpp"

namespace Platform {
namespace {

std::map<std::string, std::string, std::less<>> LoadMimeTypes() {
  std::map<std::string, std::string, std::less<>> types;
  std::string content;
  if (!ReadWholeFile("/etc/mime.types", content))
    return types;
  std::istringstream lines(content);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::istringstream words(line);
    std::string type;
    std::string extension;
    words >> type;
    // The first type listed for an extension wins.
    while (words >> extension)
      types.emplace(extension, type);
  }
  return types;
}

}  // namespace

std::string SystemMediaType(std::string_view extension) {
  static const auto types = LoadMimeTypes();
  const auto found = types.find(extension);
  return found == types.end() ? std::string() : found->second;
}

}  // namespace Platform
