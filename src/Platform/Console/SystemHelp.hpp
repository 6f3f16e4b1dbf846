#pragma once
// The parts of the help text that differ between systems: where settings
// are kept, in the system's own notation, and what "/Utf8" does there.
#include <string>

namespace Platform {

// The user's own settings file, as the help writes it.
std::string UserSettingsFileName();
// The Joplin profile folders looked at, as the help writes them.
std::string JoplinProfileFolderNames();
// What "/Utf8" does, for the help's line of it.
std::string Utf8SwitchHelp();

}  // namespace Platform
