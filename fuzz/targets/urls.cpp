// Base URLs from the settings and the URLs of requests.
#include "JoplinRestUtils/Http/RequestUrl.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace JoplinRestUtils;
  const std::string_view text = Fuzz::AsText(data, size);
  try {
    const std::string base = NormaliseBaseUrl(text);
    std::string url;
    NormaliseRequestUrl(JoinRequestUrl(base, "notes?token=t"), url);
  } catch (const EInvalidUrl&) {
    // A URL that cannot be parsed is an error by design.
  }
  std::string url;
  NormaliseRequestUrl(text, url);
  return 0;
}
