#include "JoplinRestUtils/RestClient.hpp"

#include "JoplinRestUtils/RequestUrl.hpp"

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

}  // namespace

TRestClient::TRestClient(std::string_view baseUrl)
    : FBaseUrl(NormaliseBaseUrl(baseUrl)), FHttp(kUserAgent) {}

bool TRestClient::Execute(TRestRequest request, TRestResponse& store) {
  Platform::HttpRequest http;
  if (!NormaliseRequestUrl(JoinRequestUrl(FBaseUrl, request.Resource), http.Url))
    return false;
  http.Method = MethodName(request.Method);
  http.Headers = {kAcceptHeader, kAcceptCharsetHeader};
  if (!request.ContentType.empty())
    http.Headers.push_back("Content-Type: " + request.ContentType);
  http.HasBody = request.HasBody;
  http.Body = std::move(request.Body);

  Platform::HttpResponse answer;
  std::string error;
  if (!FHttp.Send(http, answer, error))
    return false;
  const long status = answer.StatusCode;
  store.Fill(std::move(answer));
  return status < 500;
}

}  // namespace JoplinRestUtils
