#include "Platform/Files/PlaceNames.hpp"

namespace Platform {

std::string UserSettingsFileName() {
  return "$XDG_CONFIG_HOME/quillpost/quillpost.ini (~/.config/quillpost/quillpost.ini)";
}

std::string JoplinProfileFolderNames() {
  return "~/.config/joplin-desktop, then ~/.config/joplin";
}

}  // namespace Platform
