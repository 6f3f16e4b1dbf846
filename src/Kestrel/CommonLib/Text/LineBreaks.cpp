#include "Kestrel/CommonLib/Text/LineBreaks.hpp"

#include <algorithm>
#include <cstring>

#include "Platform/Text/ByteSearch.hpp"

namespace Kestrel::CommonLib {
namespace {

bool EndsWithBreak(std::string_view text) {
  return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

// How many bytes joining adds: an LF to each lone CR, a CR to each lone LF,
// and CR LF after a last line without a break.
size_t JoiningGrowth(std::string_view text) {
  const auto lf = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  size_t cr = 0;
  size_t pairs = 0;
  for (size_t pos = text.find('\r'); pos != std::string_view::npos;
       pos = text.find('\r', pos + 1)) {
    ++cr;
    if (pos + 1 < text.size() && text[pos + 1] == '\n')
      ++pairs;
  }
  return lf + cr - 2 * pairs + (text.empty() || EndsWithBreak(text) ? 0 : 2);
}

// Finds the last CR and LF before a position that only moves backwards;
// each is searched for again only once it has been passed, so that a text
// without CRs is not searched through for each line.
class TBreakFinder {
 public:
  explicit TBreakFinder(const std::string& text) : FText(text) {}

  // The last CR or LF before `end`, or npos.
  size_t LastBefore(size_t end) {
    Refresh(FLastLf, '\n', end);
    Refresh(FLastCr, '\r', end);
    if (FLastLf == std::string::npos)
      return FLastCr;
    if (FLastCr == std::string::npos)
      return FLastLf;
    return std::max(FLastLf, FLastCr);
  }

 private:
  void Refresh(size_t& last, char wanted, size_t end) {
    if (last != std::string::npos && last < end)
      return;
    // Once none was found, none lies further back either.
    const char* found =
        last != std::string::npos ? Platform::FindLastByte(FText.data(), end, wanted) : nullptr;
    last = found == nullptr ? std::string::npos : static_cast<size_t>(found - FText.data());
  }

  static constexpr size_t kUnknown = std::string::npos - 1;
  const std::string& FText;
  size_t FLastLf = kUnknown;
  size_t FLastCr = kUnknown;
};

}  // namespace

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

void JoinLinesInPlace(std::string& text) {
  const size_t growth = JoiningGrowth(text);
  if (growth == 0)
    return;
  const size_t oldSize = text.size();
  if (text.capacity() < oldSize + growth) {
    text = JoinedLines(text);
    return;
  }
  const bool addFinalBreak = !EndsWithBreak(text);
  text.resize(oldSize + growth);
  // From the end backwards: what is written never overtakes what is still
  // to be read.
  size_t read = oldSize;
  size_t write = text.size();
  if (addFinalBreak) {
    text[--write] = '\n';
    text[--write] = '\r';
  }
  TBreakFinder breaks(text);
  while (read > 0) {
    const size_t lineBreak = breaks.LastBefore(read);
    const size_t lineStart = lineBreak == std::string::npos ? 0 : lineBreak + 1;
    const size_t length = read - lineStart;
    write -= length;
    std::memmove(text.data() + write, text.data() + lineStart, length);
    if (lineBreak == std::string::npos)
      break;
    read = lineBreak;
    // CR LF, LF or a lone CR all become CR LF.
    if (text[lineBreak] == '\n' && lineBreak > 0 && text[lineBreak - 1] == '\r')
      --read;
    text[--write] = '\n';
    text[--write] = '\r';
  }
}

std::string_view FirstJoinedLine(std::string_view joined) {
  return joined.substr(0, joined.find("\r\n"));
}

}  // namespace Kestrel::CommonLib
