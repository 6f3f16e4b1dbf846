#pragma once
// The contents of a JSON string as the writers escape them: `"`, `\` and `/`
// always escaped, the short escapes for BS, TAB, LF, FF and CR, optionally
// every other control character and every non-ASCII character as upper-case
// \u escapes (one per UTF-16 code unit), and an ill-formed byte as U+FFFD.
// Runs of bytes that need no escape are copied at once.
#include <cstddef>
#include <string>
#include <string_view>

namespace JoplinRestUtils {

struct TJsonEscaping {
  bool ControlChars = true;
  bool NonAscii = true;
};

// Every control and non-ASCII character escaped (the note's wire form, and
// lines that must read the same in every code page), or none.
inline constexpr TJsonEscaping kEscapeAll{true, true};
inline constexpr TJsonEscaping kEscapeNothing{false, false};

// The longest escape of one character: two \u escapes.
inline constexpr size_t kLongestJsonEscape = 12;

// The character that a short escape's letter stands for ('n' gives LF), or
// NUL for a letter that is none.
char ShortEscapedChar(char letter);

// Appends the escaped contents of `text` (without the quotes).
void AppendJsonEscaped(std::string& out, std::string_view text, TJsonEscaping escaping);

// The length of the escaped contents of `text`.
size_t JsonEscapedLength(std::string_view text, TJsonEscaping escaping);

// Writes the escaped contents of `text` from `pos` on into `out`, as much as
// fits in `room` without cutting a character's escape; advances `pos` past
// what was written and returns the bytes written.
size_t WriteJsonEscapedPiece(std::string_view text, size_t& pos, TJsonEscaping escaping, char* out,
                             size_t room);

}  // namespace JoplinRestUtils
