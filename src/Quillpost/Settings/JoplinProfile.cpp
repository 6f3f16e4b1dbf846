#include "Quillpost/Settings/JoplinProfile.hpp"

#include "JoplinRestUtils/Json/Json.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/Files.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TJsonValue;

constexpr std::uint64_t kMaxSettingsSize = 1024 * 1024;

void TellSkipped(const std::string& path, const std::string& why) {
  Kestrel::CommonLib::Warn("skipping the Joplin profile settings " +
                           Kestrel::CommonLib::QuotedPath(path) + ": " + why);
}

std::string HomeConfigDir(const char* name) {
  return Kestrel::CommonLib::JoinPath({Platform::HomeDirectory(), ".config", name}, false);
}

std::string ReadToken(const TJsonValue& settings, const std::string& path) {
  const auto token = settings.find("api.token");
  if (token == settings.end() || token->is_null())
    return {};
  if (!token->is_string()) {
    TellSkipped(path, "\"api.token\" is not a text");
    return {};
  }
  return token->get<std::string>();
}

std::string ReadUrl(const TJsonValue& settings, const std::string& path) {
  const auto port = settings.find("api.port");
  if (port == settings.end() || port->is_null())
    return {};
  if (!port->is_number_integer() || port->get<std::int64_t>() < 1 ||
      port->get<std::int64_t>() > 65535) {
    TellSkipped(path, "\"api.port\" is not a port number");
    return {};
  }
  return "http://127.0.0.1:" + std::to_string(port->get<std::int64_t>());
}

}  // namespace

std::string DesktopProfileDir() {
  return HomeConfigDir("joplin-desktop");
}

std::string TerminalProfileDir() {
  return HomeConfigDir("joplin");
}

TProfileSettings ReadJoplinProfile(const std::string& profileDir) {
  const std::string path = Kestrel::CommonLib::JoinPath({profileDir, "settings.json"}, false);
  std::string bytes;
  std::string failure;
  if (!Platform::PathExists(path))
    return {};
  if (!Platform::ReadWholeFile(path, bytes, kMaxSettingsSize + 1, failure)) {
    TellSkipped(path, failure);
    return {};
  }
  const std::optional<TJsonValue> settings = JoplinRestUtils::ParseJson(bytes);
  if (!settings || !settings->is_object()) {
    TellSkipped(path, "it is not a JSON object");
    return {};
  }
  return {ReadUrl(*settings, path), ReadToken(*settings, path)};
}

}  // namespace Quillpost
