#include "Kestrel/CommonLib/LineBreaks.hpp"

namespace Kestrel::CommonLib {

std::string JoinedLines(std::string_view text) {
  std::string joined;
  joined.reserve(text.size() + text.size() / 32 + 2);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      joined.append(text.substr(start));
      joined.append("\r\n");
      break;
    }
    joined.append(text.substr(start, end - start));
    joined.append("\r\n");
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return joined;
}

std::string_view FirstJoinedLine(std::string_view joined) {
  return joined.substr(0, joined.find("\r\n"));
}

}  // namespace Kestrel::CommonLib
