#include "Quillpost/Usage.hpp"

#include <sstream>
#include <string>
#include <vector>

#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Version.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Console/SystemHelp.hpp"
#include "Platform/Text/TextDecoding.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {

void PrintUsage() {
  static constexpr const char* kLines[] = {
      "",
      "/N [Notebook]",
      "/I [Title]",
      "/S [Body file path]",
      "/SN (Empty body text)",
      "/A [Attachment]",
      "/AA [Attachment] [Attachment] ...",
      "/T [Tag]",
      "/TT [Tag] [Tag] ...",
      "/C [Created]",
      "/E [Updated]",
      "",
  };
  for (const char* line : kLines)
    Platform::WriteLine(line);
}

void PrintVersion() {
  Platform::WriteLine("Quillpost");
  Platform::WriteLine("Ver." + Kestrel::CommonLib::GetVersionString());
}

void PrintUsageText() {
  PrintVersion();
  PrintUsage();
  Platform::WriteLine(kHomePage);
}

namespace {

constexpr size_t kHelpColumn = 22;  // where the descriptions begin

// The table's words for this system's own things.
std::string ForThisSystem(std::string text) {
  text = Kestrel::CommonLib::ReplaceText(text, "{ANSI}", Platform::AnsiCodePageName(), true, false);
  return Kestrel::CommonLib::ReplaceText(text, "{UTF8}", Platform::Utf8SwitchHelp(), true, false);
}

}  // namespace

std::vector<std::string> HelpLinesOf(const TSwitchSpec& spec) {
  std::vector<std::string> lines;
  if (*spec.Help == '\0')
    return lines;
  std::string name = spec.HelpName != nullptr ? spec.HelpName : spec.Name;
  if (*spec.Argument != '\0')
    name += (spec.Kind == TSwitchKind::Setting ? "" : " ") + std::string(spec.Argument);
  std::string line = "  " + name;
  // A name too long for its column stands on a line of its own.
  if (line.size() >= kHelpColumn) {
    lines.push_back(line);
    line.clear();
  }
  std::istringstream help(ForThisSystem(spec.Help));
  for (std::string text; std::getline(help, text);) {
    line.resize(kHelpColumn, ' ');
    lines.push_back(line + text);
    line.clear();
  }
  return lines;
}

void PrintHelp() {
  // The places and the code page are this system's own.
  const std::string lines[] = {
      "",
      "Creates one note in a running Joplin application through its Data API.",
      "",
      "Usage: quillpost [switches]",
      "",
      "Switches (written with \"/\" or \"-\", letter case ignored; an unknown switch or a",
      "word that belongs to no switch is an error):",
  };
  const std::string after[] = {
      "",
      "Exit codes:",
      "  0  note created (\"Done (Note id: ...)\"), every file imported, or help shown",
      "  1  no token found (settings file, environment or Joplin profile)",
      "  3  no note created (\"Create Note failed.\" or an error line \"Kind: message\"),",
      "     or a file of an import that did not make it",
      "",
      "Standard output carries only the result line or the error line; warnings and",
      "the cause of a failure go to standard error. The token is never printed.",
      "",
      "The URL and the token are each taken from the first of these that has one:",
      "  1. the settings file /IniFile= names ([Host] URL= and Token=);",
      "  2. the environment variables QUILLPOST_URL and QUILLPOST_TOKEN;",
      "  3. quillpost.ini beside the executable, else",
      "     " + Platform::UserSettingsFileName() + ";",
      "  4. the Joplin profile's settings.json (api.token, api.port): /Profile= names it,",
      "     else " + Platform::JoplinProfileFolderNames() + ".",
      "Without a URL, the first Joplin Data API answering on 127.0.0.1 ports 41184 to",
      "41194 is used, else http://localhost:41184.",
      "",
  };
  PrintVersion();
  for (const std::string& line : lines)
    Platform::WriteLine(line);
  for (const TSwitchSpec& spec : KnownSwitchTable()) {
    for (const std::string& line : HelpLinesOf(spec))
      Platform::WriteLine(line);
  }
  for (const std::string& line : after)
    Platform::WriteLine(line);
  Platform::WriteLine(kHomePage);
}

}  // namespace Quillpost
