#include "JoplinRestUtils/Http/ServerDiscovery.hpp"

#include "JoplinRestUtils/Http/RestClient.hpp"
#include "Platform/Http/HttpClient.hpp"

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
    if (http.Send(ping, answer, error) && answer.StatusCode == 200 &&
        answer.Body.find(kPingAnswer) != std::string::npos)
      return base;
  }
  return std::nullopt;
}

}  // namespace JoplinRestUtils
