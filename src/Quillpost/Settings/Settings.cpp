#include "Quillpost/Settings/Settings.hpp"

#include <functional>

#include "JoplinRestUtils/Http/ServerDiscovery.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/FileWriting.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/IniFile.hpp"
#include "Platform/Http/ListenerOwner.hpp"
#include "Quillpost/Settings/JoplinProfile.hpp"

namespace Quillpost {
namespace {

using Kestrel::CommonLib::QuotedPath;

std::string BesideExecutable() {
  const std::string exe = Platform::ExecutablePath();
  const std::string_view extension = Kestrel::CommonLib::ExtractFileExt(exe);
  return exe.substr(0, exe.size() - extension.size()) + ".ini";
}

std::string InUserConfigDir() {
  return Kestrel::CommonLib::JoinPath(
      {Platform::UserConfigDirectory(), "quillpost", "quillpost.ini"}, false);
}

// What one source holds; empty values are none.
struct TFound {
  std::string Url;
  std::string Token;
  std::string Note;  // what it gave, for the places looked at
};

std::string WhatItGave(const std::string& url, const std::string& token) {
  if (url.empty() && token.empty())
    return "no URL or token";
  if (url.empty())
    return "a token";
  return token.empty() ? "a URL" : "a URL and a token";
}

TFound ReadSettingsFile(const std::string& path) {
  const Platform::IniFile ini(path);
  if (!ini.Failure().empty())
    return {{}, {}, ini.Failure()};
  TFound found{ini.ReadString("Host", "URL", ""), ini.ReadString("Host", "Token", ""), {}};
  found.Note = WhatItGave(found.Url, found.Token);
  if (!found.Token.empty() && Platform::OpenToOthers(path)) {
    Kestrel::CommonLib::Warn(
        "the settings file " + QuotedPath(path) +
        " holds the token and other users may read or change it (chmod 600 it)");
  }
  return found;
}

TFound ReadEnvironment() {
  TFound found{Platform::GetEnv("QUILLPOST_URL"), Platform::GetEnv("QUILLPOST_TOKEN"), {}};
  found.Note = WhatItGave(found.Url, found.Token);
  return found;
}

TFound ReadProfile(const std::string& dir) {
  const TProfileSettings profile = ReadJoplinProfile(dir);
  return {profile.Url, profile.Token, WhatItGave(profile.Url, profile.Token)};
}

struct TSource {
  std::string Name;
  std::function<TFound()> Read;
  std::string File;  // the file read, where it is one
};

std::vector<TSource> SourcesInOrder(const std::string& iniFile, const std::string& profileDir) {
  std::vector<TSource> sources;
  if (!iniFile.empty())
    sources.push_back({"the settings file " + QuotedPath(iniFile),
                       [iniFile] { return ReadSettingsFile(iniFile); }, iniFile});
  sources.push_back({"the environment (QUILLPOST_URL, QUILLPOST_TOKEN)", ReadEnvironment, {}});
  if (iniFile.empty()) {
    const std::string path = DefaultSettingsPath();
    sources.push_back(
        {"the settings file " + QuotedPath(path), [path] { return ReadSettingsFile(path); }, path});
  }
  std::vector<std::string> profiles = {profileDir};
  if (profileDir.empty())
    profiles = {DesktopProfileDir(), TerminalProfileDir()};
  for (const auto& dir : profiles) {
    const std::string json = Kestrel::CommonLib::JoinPath({dir, "settings.json"}, false);
    sources.push_back(
        {"the Joplin profile " + QuotedPath(json), [dir] { return ReadProfile(dir); }, json});
  }
  return sources;
}

void TakeIfMissing(TSetting& setting, const std::string& value, const std::string& source) {
  if (setting.Value.empty() && !value.empty())
    setting = {value, source};
}

}  // namespace

std::string DefaultSettingsPath() {
  std::string path = BesideExecutable();
  if (Platform::FileExists(path))
    return path;
  return InUserConfigDir();
}

TSettings FindSettings(const std::string& iniFile, const std::string& profileDir) {
  TSettings settings;
  const std::vector<TSource> sources = SourcesInOrder(iniFile, profileDir);
  for (const auto& source : sources) {
    if (!source.File.empty())
      settings.Files.push_back(source.File);
  }
  // The places not looked at this run hold secrets all the same.
  for (const std::string& place :
       {BesideExecutable(), InUserConfigDir(),
        Kestrel::CommonLib::JoinPath({DesktopProfileDir(), "settings.json"}, false),
        Kestrel::CommonLib::JoinPath({TerminalProfileDir(), "settings.json"}, false)})
    settings.Files.push_back(place);
  settings.Folders = {
      Kestrel::CommonLib::JoinPath({Platform::UserStateDirectory(), "quillpost"}, false),
      Kestrel::CommonLib::JoinPath({Platform::UserCacheDirectory(), "quillpost"}, false)};
  for (const auto& source : sources) {
    if (!settings.Url.Value.empty() && !settings.Token.Value.empty())
      break;
    const TFound found = source.Read();
    settings.LookedAt.push_back(source.Name + ": " + found.Note);
    TakeIfMissing(settings.Url, found.Url, source.Name);
    TakeIfMissing(settings.Token, found.Token, source.Name);
  }
  return settings;
}

Platform::HttpLimits RunLimits() {
  Platform::HttpLimits limits;
  const std::string seconds = Platform::GetEnv("QUILLPOST_TIMEOUT");
  if (seconds.empty())
    return limits;
  if (seconds.size() <= 6 && seconds.find_first_not_of("0123456789") == std::string::npos &&
      std::stol(seconds) > 0) {
    limits.AnswerSecondsPerClient = std::stol(seconds);
  } else {
    Kestrel::CommonLib::Warn("QUILLPOST_TIMEOUT is not a number of seconds; using " +
                             std::to_string(limits.AnswerSecondsPerClient));
  }
  return limits;
}

void SettleServerUrl(TSettings& settings, JoplinRestUtils::TPortRange ports) {
  if (!settings.Url.Value.empty())
    return;
  if (const auto found = JoplinRestUtils::FindLocalDataApi(ports.First, ports.Last)) {
    settings.Url = {*found, "a Joplin Data API answering on this machine"};
    return;
  }
  const std::string range = std::to_string(ports.First) + " to " + std::to_string(ports.Last);
  // Not even the default port gets the token when another user listens there.
  if (Platform::LoopbackListenerOwner(ports.First) == Platform::ListenerOwner::OtherUser) {
    throw EUntrustedServer("no Joplin Data API of this user answers on ports " + range +
                           ", and another user's program listens on port " +
                           std::to_string(ports.First) + ": the token is not sent there");
  }
  settings.Url = {kDefaultServerUrl,
                  "the default (no Joplin Data API answered on ports " + range + ")"};
}

}  // namespace Quillpost
