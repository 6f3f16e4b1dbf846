#include "JoplinRestUtils/Markup/MarkdownEscape.hpp"

#include "Kestrel/CommonLib/Text/StringList.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"

namespace JoplinRestUtils {

std::string EscapeMarkdown(std::string_view text) {
  using Kestrel::CommonLib::ReplaceText;
  std::string escaped = ReplaceText(text, "*", "\\*", true, true);
  escaped = ReplaceText(escaped, "~~", "\\~~", true, true);
  escaped = ReplaceText(escaped, "~~", "\\~~", true, true);
  Kestrel::CommonLib::TStringList lines;
  lines.SetText(escaped);
  for (size_t i = 0; i < lines.Count(); ++i) {
    const std::string& line = lines[i];
    if (!line.empty() && (line[0] == '#' || line[0] == '>' || line[0] == '-'))
      lines[i] = "\\" + line;
  }
  return lines.Text();
}

}  // namespace JoplinRestUtils
