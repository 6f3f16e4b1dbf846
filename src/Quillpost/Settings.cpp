#include "Quillpost/Settings.hpp"

#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files.hpp"
#include "Platform/IniFile.hpp"

namespace Quillpost {
namespace {

std::string BesideExecutable() {
  const std::string exe = Platform::ExecutablePath();
  const std::string_view extension = Kestrel::CommonLib::ExtractFileExt(exe);
  return exe.substr(0, exe.size() - extension.size()) + ".ini";
}

std::string InUserConfigDir() {
  std::string configHome = Platform::GetEnv("XDG_CONFIG_HOME");
  if (configHome.empty())
    configHome = Kestrel::CommonLib::JoinPath({Platform::GetEnv("HOME"), ".config"}, false);
  return Kestrel::CommonLib::JoinPath({configHome, "quillpost", "quillpost.ini"}, false);
}

}  // namespace

std::string DefaultSettingsPath() {
  std::string path = BesideExecutable();
  if (Platform::FileExists(path))
    return path;
  return InUserConfigDir();
}

std::vector<std::string> SettingsPathsLookedAt(const std::string& settingsPath) {
  if (!settingsPath.empty())
    return {settingsPath};
  return {BesideExecutable(), InUserConfigDir()};
}

void ReadIniSettings(const std::string& settingsPath, std::string& url, std::string& token) {
  const Platform::IniFile ini(settingsPath.empty() ? DefaultSettingsPath() : settingsPath);
  url = ini.ReadString("Host", "URL", kDefaultServerUrl);
  token = ini.ReadString("Host", "Token", "");
}

}  // namespace Quillpost
