#include "support/FakeJoplin.hpp"

#include <memory>
#include <mutex>

#include "JoplinRestUtils/Json/Json.hpp"

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
  struct State {
    std::mutex Mutex;
    std::vector<FakeFolder> Folders;
    int Counter = 0;
  };
  auto state = std::make_shared<State>();
  state->Folders = Folders;
  server.Handle([state](const RecordedRequest& request) {
    const std::string path = PathOf(request.Target);
    std::lock_guard lock(state->Mutex);
    if (request.Method == "GET" && path == "/folders") {
      JoplinRestUtils::TJsonValue items = JoplinRestUtils::TJsonValue::array();
      for (const auto& folder : state->Folders)
        items.push_back(
            {{"id", folder.Id}, {"parent_id", folder.ParentId}, {"title", folder.Title}});
      return Reply::Json(JoplinRestUtils::TJsonValue{{"items", items}, {"has_more", false}}.dump());
    }
    if (request.Method == "POST" && path == "/folders") {
      const auto asked = JoplinRestUtils::TJsonValue::parse(request.Body);
      FakeFolder folder{"C" + std::to_string(++state->Counter), asked.at("title"),
                        asked.value("parent_id", "")};
      state->Folders.push_back(folder);
      return Reply::Json(
          JoplinRestUtils::TJsonValue{{"id", folder.Id}, {"title", folder.Title}}.dump());
    }
    if (request.Method == "POST" && (path == "/resources" || path == "/notes")) {
      const std::string id = (path == "/notes" ? "N" : "R") + std::to_string(++state->Counter);
      return Reply::Json(R"({"id":")" + id + R"(","title":"t"})");
    }
    if (request.Method == "DELETE" && path.starts_with("/resources/"))
      return Reply::Json("");
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

std::string TheNoteJson(const TestHttpServer& server) {
  const auto notes = RequestsTo(server, "POST", "/notes");
  return notes.size() == 1 ? notes[0].Body : "<" + std::to_string(notes.size()) + " notes>";
}

std::string PropsOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"props\"");
}

std::string FileBytesOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"data\"");
}

}  // namespace TestSupport
