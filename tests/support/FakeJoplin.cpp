#include "support/FakeJoplin.hpp"

#include <memory>

namespace TestSupport {
namespace {

std::string PathOf(const std::string& target) {
  return target.substr(0, target.find('?'));
}

std::string PartAfterHeaders(const RecordedRequest& upload, std::string_view marker) {
  const std::string& body = upload.Body;
  const size_t at = body.find(marker);
  if (at == std::string::npos)
    return {};
  const size_t start = body.find("\r\n\r\n", at) + 4;
  const std::string boundary = "\r\n--" + upload.Header("Content-Type").substr(30);
  return body.substr(start, body.find(boundary, start) - start);
}

}  // namespace

void FakeJoplin::Install(TestHttpServer& server) {
  auto counter = std::make_shared<std::atomic<int>>(0);
  server.Handle([folders = Folders, counter](const RecordedRequest& request) {
    const std::string path = PathOf(request.Target);
    if (request.Method == "GET" && path == "/folders") {
      std::string items;
      for (const auto& folder : folders) {
        const size_t equals = folder.find('=');
        if (!items.empty())
          items += ",";
        items += R"({"id":")" + folder.substr(0, equals) + R"(","title":")" +
                 folder.substr(equals + 1) + "\"}";
      }
      return Reply::Json(R"({"items":[)" + items + R"(],"has_more":false})");
    }
    if (request.Method == "POST" && (path == "/resources" || path == "/notes")) {
      const std::string id = (path == "/notes" ? "N" : "R") + std::to_string(++*counter);
      return Reply::Json(R"({"id":")" + id + R"(","title":"t"})");
    }
    return Reply::Json(R"({"error":"Not found"})", 404);
  });
}

std::vector<RecordedRequest> RequestsTo(const TestHttpServer& server, std::string_view method,
                                        std::string_view path) {
  std::vector<RecordedRequest> found;
  for (const auto& request : server.Requests()) {
    if (request.Method == method && PathOf(request.Target) == path)
      found.push_back(request);
  }
  return found;
}

std::string PropsOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"props\"");
}

std::string FileBytesOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"data\"");
}

}  // namespace TestSupport
