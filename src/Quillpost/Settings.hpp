#pragma once
// The settings file: section "Host", keys "URL" and "Token".
#include <string>
#include <vector>

namespace Quillpost {

inline constexpr const char* kDefaultServerUrl = "http://localhost:41184";

struct TSettings {
  std::string Url;
  std::string Token;
};

// The executable's path with its extension replaced by ".ini"; when no such
// file exists, $XDG_CONFIG_HOME/quillpost/quillpost.ini (~/.config when unset).
std::string DefaultSettingsPath();

// The settings files that a run with `settingsPath` ("/IniFile=", may be
// empty) looks at, in order, for telling a user where the token was sought.
std::vector<std::string> SettingsPathsLookedAt(const std::string& settingsPath);

// Reads the settings from `settingsPath`, or from the default path when it is
// empty. A missing file, section or key gives the defaults (empty token).
void ReadIniSettings(const std::string& settingsPath, std::string& url, std::string& token);

}  // namespace Quillpost
