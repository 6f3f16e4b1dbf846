#include "Quillpost/Steps/StdinLines.hpp"

#include "Platform/Text/Charset.hpp"

namespace Quillpost {
namespace {

constexpr char kCtrlZ = 26;

// The line without its CRs: a lone CR is dropped, and a CR before the LF
// belongs to the line's end.
std::string_view WithoutCrs(std::string_view line, std::string& scratch) {
  if (line.find('\r') == std::string_view::npos)
    return line;
  scratch.clear();
  for (const char c : line) {
    if (c != '\r')
      scratch += c;
  }
  return scratch;
}

// Calls `onLine` with the bytes of each line, in order, as the input is read
// in large pieces.
template <class TOnLine>
void ForEachLine(Platform::ByteReader& input, TOnLine onLine) {
  std::string partial;  // the start of a line that the next piece goes on with
  std::string scratch;
  bool ended = false;
  while (!ended) {
    std::string_view piece = input.TakeBuffered();
    if (piece.empty())
      break;
    if (const size_t stop = piece.find(kCtrlZ); stop != std::string_view::npos) {
      piece = piece.substr(0, stop);
      ended = true;
    }
    size_t start = 0;
    for (size_t lf = piece.find('\n'); lf != std::string_view::npos;
         start = lf + 1, lf = piece.find('\n', start)) {
      if (partial.empty()) {
        onLine(WithoutCrs(piece.substr(start, lf - start), scratch));
      } else {
        partial.append(piece.substr(start, lf - start));
        onLine(WithoutCrs(partial, scratch));
        partial.clear();
      }
    }
    partial.append(piece.substr(start));
  }
  // What follows the last LF is a line too, even when it holds only CRs.
  if (!partial.empty())
    onLine(WithoutCrs(partial, scratch));
}

}  // namespace

std::string ReadStdinText(bool utf8, Platform::ByteReader& input) {
  std::string text;
  // Room for the whole input when it is a file: one allocation, and the CR
  // LFs added to lines that ended in LF alone mostly fit too.
  if (const std::uint64_t size = input.SizeHint(); size > 0 && size < (std::uint64_t{1} << 31))
    text.reserve(static_cast<size_t>(size + size / 16 + 2));
  Platform::LocaleDecoder decoder(utf8 ? Platform::InputText::Utf8Asked
                                       : Platform::InputText::InLocale);
  ForEachLine(input, [&](std::string_view line) {
    decoder.AppendDecoded(text, line);
    text += "\r\n";
  });
  return text;
}

}  // namespace Quillpost
