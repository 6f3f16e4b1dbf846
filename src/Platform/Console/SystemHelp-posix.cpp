#include "Platform/Console/SystemHelp.hpp"

namespace Platform {

std::string UserSettingsFileName() {
  return "$XDG_CONFIG_HOME/quillpost/quillpost.ini (~/.config/quillpost/quillpost.ini)";
}

std::string JoplinProfileFolderNames() {
  return "~/.config/joplin-desktop, then ~/.config/joplin";
}

std::string Utf8SwitchHelp() {
  return "accepted for compatibility; standard input is read in the locale's charset";
}

}  // namespace Platform
