#pragma once
// The two things read out of an HTML body: its title and the `src`
// references of its elements. Byte by byte, in one pass, without a regular
// expression engine: ASCII letters match in either case where case is
// ignored, and "blank" is space, tab, LF, VT, FF or CR.
#include <optional>
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

struct THtmlMatch {
  size_t Start = 0;        // byte offset of the whole match
  size_t Length = 0;       // its length in bytes
  std::string_view Inner;  // the part the caller wants, within the match
};

// The first `<title>...</title>` (case ignored) without a "<" inside; Inner
// is the text between the tags.
std::optional<THtmlMatch> FindHtmlTitle(std::string_view html);

// Every `src`, blanks, "=", blanks, `"`, one or more bytes but `"`, `"`, from
// left to right and not overlapping (`src` in any case with `anyCase`); Inner
// is the quoted reference.
std::vector<THtmlMatch> FindImageReferences(std::string_view html, bool anyCase);

}  // namespace JoplinRestUtils
