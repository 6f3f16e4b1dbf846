#pragma once
// The joined form of a text's lines: every line ended by CR LF.
#include <string>
#include <string_view>

namespace Kestrel::CommonLib {

// The same text as splitting into lines (at CR LF, LF or a lone CR, a final
// break adding no line) and joining them with CR LF after each, without
// building the lines.
std::string JoinedLines(std::string_view text);

// The same, in `text` itself: without a copy when its capacity has room for
// the CRs and LFs to add (at most one per byte, plus two).
void JoinLinesInPlace(std::string& text);

// The first line of a joined text, without its CR LF.
std::string_view FirstJoinedLine(std::string_view joined);

}  // namespace Kestrel::CommonLib
