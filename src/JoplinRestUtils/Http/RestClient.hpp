#pragma once
// The connection to the Data API: the normalised base URL, the headers every
// request carries, and one HTTP client kept for the whole run.
#include <string>
#include <string_view>
#include <vector>

#include "JoplinRestUtils/Http/RequestOutcome.hpp"
#include "JoplinRestUtils/Http/RestResponse.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

enum class TRESTRequestMethod { rmPOST, rmPUT, rmGET, rmDELETE };

inline constexpr const char* kAcceptHeader =
    "Accept: application/json, text/plain; q=0.9, text/html;q=0.8,";
inline constexpr const char* kAcceptCharsetHeader = "Accept-Charset: utf-8, *;q=0.8";
inline constexpr const char* kUserAgent = "Quillpost/1.0.0.0";

struct TRestRequest {
  TRESTRequestMethod Method = TRESTRequestMethod::rmGET;
  std::string Resource;     // resource, query and token
  std::string ContentType;  // empty: no Content-Type header
  bool HasBody = false;
  std::vector<Platform::HttpBodyPart> Body;
  std::function<void(std::uint64_t, std::uint64_t)> OnUpload;
  std::shared_ptr<Platform::HttpAnswerFilter> AnswerFilter;  // none: the answer kept whole
};

class TRestClient {
 public:
  // Throws EInvalidUrl for a base URL that cannot be parsed.
  explicit TRestClient(std::string_view baseUrl, Platform::HttpLimits limits = {});

  const std::string& BaseUrl() const { return FBaseUrl; }

  // True for an answer with a status below 500; the answer then replaces the
  // store (a 5xx answer too). No answer, or a URL that cannot be parsed:
  // false, and the store is untouched.
  bool Execute(TRestRequest request, TRestResponse& store);

  // Why the last request failed, for people: the request, then the transport
  // error with the URL, or the HTTP status of an error answer (400 and above)
  // with the server's own error text. Empty after a request that succeeded.
  // Never holds the query of the request, so never the token.
  const std::string& LastFailure() const { return FLastFailure; }
  // The last request as "POST notes": method and resource, without the query.
  const std::string& LastRequest() const { return FLastRequest; }
  // Whether the last request failed because the run's time for answers ran out.
  bool LastRequestOutOfTime() const { return !FLastAnswered && FHttp.LastRequestOutOfTime(); }
  // More time for answers, for work that must be done even after it ran out.
  void GrantAnswerSeconds(long seconds) { FHttp.GrantAnswerSeconds(seconds); }
  // Whether the server clearly did not act on the last request: it never
  // reached the server (connection refused, say), or the answer was an error
  // status (400 and above).
  bool LastRequestClearlyRefused() const {
    return !FHttp.LastRequestWasSent() || (FLastAnswered && FLastStatus >= 400);
  }
  // All of the above, as one value to keep.
  TRequestOutcome LastOutcome() const {
    return {FLastAnswered, FLastAnswered ? FLastStatus : 0, FLastFailure, LastRequestOutOfTime(),
            LastRequestClearlyRefused()};
  }

 private:
  std::string FBaseUrl;
  std::string FLastFailure;
  std::string FLastRequest;
  bool FLastAnswered = false;
  long FLastStatus = 0;
  Platform::HttpClient FHttp;
};

}  // namespace JoplinRestUtils
