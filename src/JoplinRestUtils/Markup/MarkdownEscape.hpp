#pragma once
// Escapes the Markdown marks that would change a plain text's meaning.
#include <string>
#include <string_view>

namespace JoplinRestUtils {

// "*" gets a backslash, "~~" two; a line starting with "#", ">" or "-" one.
// Lines come back each ended by CR LF; the empty text stays empty.
std::string EscapeMarkdown(std::string_view text);

}  // namespace JoplinRestUtils
