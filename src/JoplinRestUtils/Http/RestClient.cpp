#include "JoplinRestUtils/Http/RestClient.hpp"

#include "JoplinRestUtils/Http/RequestUrl.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"

namespace JoplinRestUtils {
namespace {

const char* MethodName(TRESTRequestMethod method) {
  switch (method) {
    case TRESTRequestMethod::rmPOST:
      return "POST";
    case TRESTRequestMethod::rmPUT:
      return "PUT";
    case TRESTRequestMethod::rmGET:
      return "GET";
    case TRESTRequestMethod::rmDELETE:
      return "DELETE";
  }
  return "GET";
}

std::string_view WithoutQuery(std::string_view url) {
  return url.substr(0, url.find('?'));
}

// "POST notes": the method and the resource, without the query.
std::string RequestName(const TRestRequest& request) {
  return std::string(MethodName(request.Method)) + " " +
         std::string(WithoutQuery(request.Resource));
}

// The first line of a server's message, without a trailing ":" (Joplin puts
// a stack trace after it) and cut to a sane length.
std::string FirstLineOf(std::string_view text) {
  constexpr size_t kLongest = 300;
  std::string_view line = Kestrel::CommonLib::TrimText(text.substr(0, text.find_first_of("\r\n")));
  if (line.ends_with(':'))
    line = Kestrel::CommonLib::TrimText(line.substr(0, line.size() - 1));
  return std::string(line.substr(0, kLongest));
}

// The server's own words on an error answer: the "error" member of the
// Data API's error object, else a plain-text answer.
std::string ServerErrorText(TRestResponse& answer) {
  const auto& json = answer.JsonValue();
  if (json && json->is_object()) {
    const auto error = json->find("error");
    if (error != json->end() && error->is_string())
      return FirstLineOf(error->get<std::string>());
    return {};
  }
  if (answer.ContentType() == "text/plain")
    return FirstLineOf(answer.Content());
  return {};
}

std::string ErrorAnswerFailure(const TRestRequest& request, TRestResponse& answer) {
  std::string failure = RequestName(request) + ": HTTP " + std::to_string(answer.StatusCode());
  if (!answer.StatusText().empty())
    failure += " " + answer.StatusText();
  if (const std::string said = ServerErrorText(answer); !said.empty())
    failure += ": " + said;
  return failure;
}

}  // namespace

TRestClient::TRestClient(std::string_view baseUrl, Platform::HttpLimits limits)
    : FBaseUrl(NormaliseBaseUrl(baseUrl)), FHttp(kUserAgent, limits) {}

bool TRestClient::Execute(TRestRequest request, TRestResponse& store) {
  Platform::HttpRequest http;
  FLastFailure.clear();
  FLastAnswered = false;
  FLastStatus = 0;
  FLastRequest = RequestName(request);
  if (!NormaliseRequestUrl(JoinRequestUrl(FBaseUrl, request.Resource), http.Url)) {
    FLastFailure = FLastRequest + ": the server URL " +
                   Kestrel::CommonLib::Quoted(UrlForMessages(FBaseUrl)) + " cannot be used";
    return false;
  }
  http.Method = MethodName(request.Method);
  http.Headers = {kAcceptHeader, kAcceptCharsetHeader};
  if (!request.ContentType.empty())
    http.Headers.push_back("Content-Type: " + request.ContentType);
  http.HasBody = request.HasBody;
  http.Body = std::move(request.Body);
  http.OnUpload = std::move(request.OnUpload);
  http.AnswerFilter = std::move(request.AnswerFilter);

  Platform::HttpResponse answer;
  std::string error;
  if (!FHttp.Send(http, answer, error)) {
    FLastFailure = FLastRequest + " failed: " + error + " (" + UrlForMessages(http.Url) + ")";
    return false;
  }
  FLastAnswered = true;
  const long status = answer.StatusCode;
  FLastStatus = status;
  store.Fill(std::move(answer));
  if (status >= 400)
    FLastFailure = ErrorAnswerFailure(request, store);
  return status < 500;
}

}  // namespace JoplinRestUtils
