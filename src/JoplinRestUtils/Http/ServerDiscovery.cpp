#include "JoplinRestUtils/Http/ServerDiscovery.hpp"

#include "JoplinRestUtils/Http/RestClient.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Http/HttpClient.hpp"
#include "Platform/Http/ListenerOwner.hpp"

namespace JoplinRestUtils {

std::optional<std::string> FindLocalDataApi(int firstPort, int lastPort) {
  Platform::HttpLimits quick;
  quick.ConnectSeconds = 1;
  quick.WholeRequestMilliseconds = 1000;
  Platform::HttpClient http(kUserAgent, quick);
  for (int port = firstPort; port <= lastPort; ++port) {
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    Platform::HttpRequest ping;
    ping.Url = base + "/ping";
    Platform::HttpResponse answer;
    std::string error;
    if (!http.Send(ping, answer, error) || answer.StatusCode != 200 ||
        answer.Body.find(kPingAnswer) == std::string::npos)
      continue;
    // A ping carries no token; what follows would.
    if (Platform::LoopbackListenerOwner(port) == Platform::ListenerOwner::OtherUser) {
      Kestrel::CommonLib::TellCause("skipping port " + std::to_string(port) +
                                    ": the program listening there belongs to another user");
      continue;
    }
    return base;
  }
  return std::nullopt;
}

}  // namespace JoplinRestUtils
