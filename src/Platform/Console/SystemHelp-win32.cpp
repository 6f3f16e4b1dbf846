#include "Platform/Console/SystemHelp.hpp"

namespace Platform {

std::string UserSettingsFileName() {
  return "%APPDATA%\\quillpost\\quillpost.ini";
}

std::string JoplinProfileFolderNames() {
  return "%USERPROFILE%\\.config\\joplin-desktop, then %USERPROFILE%\\.config\\joplin";
}

std::string Utf8SwitchHelp() {
  return "read standard input as UTF-8 (strictly) instead of the ANSI code page";
}

}  // namespace Platform
