#pragma once
// Text put into HTML as text or as a quoted attribute value: "&", "<", ">"
// and the double quote as character references, everything else as it is.
#include <string>
#include <string_view>

namespace JoplinRestUtils {

std::string EscapeHtml(std::string_view text);

}  // namespace JoplinRestUtils
