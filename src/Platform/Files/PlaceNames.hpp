#pragma once
// How the help text names the places where this system keeps settings, in
// the system's own notation.
#include <string>

namespace Platform {

// The user's own settings file, as the help writes it.
std::string UserSettingsFileName();
// The Joplin profile folders looked at, as the help writes them.
std::string JoplinProfileFolderNames();

}  // namespace Platform
