#pragma once
// The Joplin application keeps its Data API token and port in its profile's
// settings.json ("api.token", "api.port"). Reading them lets Quillpost work
// with no settings file of its own.
#include <string>

namespace Quillpost {

struct TProfileSettings {
  std::string Url;    // "http://127.0.0.1:PORT", or empty
  std::string Token;  // empty when none
};

// The profiles looked at by default: the desktop application's, then the
// terminal application's.
std::string DesktopProfileDir();
std::string TerminalProfileDir();

// Reads DIR/settings.json. A missing file gives nothing; a file that cannot
// be read, is larger than 1 MiB or is not a JSON object gives nothing with a
// line on standard error; so does a token that is not a text or a port that
// is not a whole number from 1 to 65535 (the other value is still used).
TProfileSettings ReadJoplinProfile(const std::string& profileDir);

}  // namespace Quillpost
