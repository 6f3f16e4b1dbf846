#include "Platform/Files/PlaceNames.hpp"

namespace Platform {

std::string UserSettingsFileName() {
  return "%APPDATA%\\quillpost\\quillpost.ini";
}

std::string JoplinProfileFolderNames() {
  return "%USERPROFILE%\\.config\\joplin-desktop, then %USERPROFILE%\\.config\\joplin";
}

}  // namespace Platform
