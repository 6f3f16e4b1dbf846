#pragma once
// Small text routines: emptiness with optional trimming, replacement with case
// and count options, filtering to a set of characters, a two-way choice.
#include <string>
#include <string_view>

namespace Kestrel::CommonLib {

// Removes U+0000..U+0020 at both ends, nothing else.
std::string_view TrimText(std::string_view text);

bool IsEmptyText(std::string_view text, bool trim);
bool IsNotEmptyText(std::string_view text, bool trim);

// Replaces `oldText` by `newText`, scanning left to right without overlaps.
// Ignoring case compares Unicode simple upper-case forms; the text outside the
// matches keeps its case and the inserted text is never scanned again.
std::string ReplaceText(std::string_view text, std::string_view oldText, std::string_view newText,
                        bool caseSensitive, bool replaceAll);

// The characters of `text` that occur in `allowed`, in their order.
std::string KeepChars(std::string_view text, std::string_view allowed);

std::string IfThenStr(bool flag, std::string_view whenTrue, std::string_view whenFalse);

}  // namespace Kestrel::CommonLib
