#pragma once
// Where the Data API's URL and token come from. Each is taken from the first
// source that has a value for it:
//   1. the settings file "/IniFile=" names (then no other settings file);
//   2. the environment: QUILLPOST_URL, QUILLPOST_TOKEN;
//   3. the default settings file (beside the executable, else the XDG path);
//   4. the Joplin profile's settings.json: "/Profile=DIR", else the desktop
//      application's profile, then the terminal application's.
// A URL found nowhere is that of the first local port that answers /ping like
// Joplin, else http://localhost:41184. Settings files are section "Host",
// keys "URL" and "Token"; an empty value counts as none.
#include <string>
#include <vector>

#include "JoplinRestUtils/Http/ServerDiscovery.hpp"
#include "Platform/Console/Error.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace Quillpost {

inline constexpr const char* kDefaultServerUrl = "http://localhost:41184";

// A value and where it came from ("the settings file \"/x/q.ini\""); the
// source may be shown, a token value never.
struct TSetting {
  std::string Value;
  std::string Source;
};

struct TSettings {
  TSetting Url;    // empty until found or settled
  TSetting Token;  // empty when no source has one
  // Every place read, in order, with what it gave: for telling a user.
  std::vector<std::string> LookedAt;
  // Every settings file in any place Quillpost looks for one, whether this
  // run reads it or not, and the Joplin profiles' settings.json: never
  // uploaded, under whatever name.
  std::vector<std::string> Files;
  // Quillpost's state (import journals) and cache folders: nothing in them
  // is uploaded.
  std::vector<std::string> Folders;
};

// The executable's path with its extension replaced by ".ini"; when no such
// file exists, $XDG_CONFIG_HOME/quillpost/quillpost.ini (~/.config when unset).
std::string DefaultSettingsPath();

// Reads the sources in order until both values are found. `iniFile` and
// `profileDir` are the "/IniFile=" and "/Profile=" values (may be empty).
// Warns on standard error about a settings file that others may read, and
// about profile files that cannot be used.
TSettings FindSettings(const std::string& iniFile, const std::string& profileDir);

// The limits of the run's requests: the time all answers together may take
// is QUILLPOST_TIMEOUT seconds (a whole number above 0; 120 when unset, or
// with a warning when it is not such a number).
Platform::HttpLimits RunLimits();

// No source gave a URL, and the scan found only other users' programs: the
// token is sent nowhere.
class EUntrustedServer : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EUntrustedServer"; }
};

// When no source gave a URL: the first port of `ports` that answers like
// Joplin and belongs to this user, else the default URL. Throws
// EUntrustedServer when another user's program listens on the first port.
void SettleServerUrl(TSettings& settings, JoplinRestUtils::TPortRange ports = {});

}  // namespace Quillpost
