#include "Quillpost/Commands/CheckCommand.hpp"

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/Http/RequestUrl.hpp"
#include "JoplinRestUtils/Http/ServerDiscovery.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "Platform/Console/Console.hpp"
#include "Quillpost/ExitCodes.hpp"

namespace Quillpost {
namespace {

bool Pings(JoplinRestUtils::TJoplinRest& client) {
  if (!client.Get("ping", {}, "", false, 0)) {
    Platform::WriteLine("Ping: no answer (" + client.LastFailure() + ")");
    Platform::WriteLine(
        "Next: start the Joplin desktop application and enable its Web Clipper service "
        "(Tools > Options > Web Clipper), or run ./run.sh from the Quillpost sources for a "
        "local Joplin server");
    return false;
  }
  const auto& answer = client.RestResponse();
  if (answer.StatusCode() != 200 ||
      answer.Content().find(JoplinRestUtils::kPingAnswer) == std::string::npos) {
    Platform::WriteLine("Ping: the server at this URL is not a Joplin Data API (HTTP " +
                        std::to_string(answer.StatusCode()) + ")");
    return false;
  }
  Platform::WriteLine("Ping: a Joplin Data API answers");
  return true;
}

// The token is accepted when the notebook list can be read with it.
bool TokenAccepted(JoplinRestUtils::TJoplinRest& client) {
  try {
    if (!client.ReadNotebooks()) {
      Platform::WriteLine("Token accepted: unknown (" + client.LastFailure() + ")");
      return false;
    }
  } catch (const JoplinRestUtils::ERequestRefused&) {
    Platform::WriteLine("Token accepted: no (" + client.LastFailure() + ")");
    return false;
  }
  Platform::WriteLine("Token accepted: yes");
  Platform::WriteLine("Notebooks: " + std::to_string(client.Folders().Count()));
  return true;
}

}  // namespace

int RunCheck(const TSettings& settings) {
  Platform::WriteLine("URL: " + JoplinRestUtils::UrlForMessages(settings.Url.Value) + " (from " +
                      settings.Url.Source + ")");
  const bool haveToken = !settings.Token.Value.empty();
  Platform::WriteLine(haveToken ? "Token: from " + settings.Token.Source
                                : std::string("Token: none found"));
  JoplinRestUtils::TJoplinRest client(settings.Token.Value, settings.Url.Value, RunLimits());
  const bool pings = Pings(client);
  if (!pings || !haveToken)
    return kExitNotCreated;
  return TokenAccepted(client) ? kExitOk : kExitNotCreated;
}

}  // namespace Quillpost
