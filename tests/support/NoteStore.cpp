#include "support/NoteStore.hpp"

#include "JoplinRestUtils/Json/Json.hpp"

namespace TestSupport {

using JoplinRestUtils::TJsonValue;

NoteStore::NoteStore() {
  Notes[kJournal] = {"Journal", "day one\n", 1, 2000};
  Notes[kOlder] = {"journal", "old\n", 1, 1000};
  Notes[kPage] = {"Page", "<p>x</p>", 2, 1000};
}

Reply NoteStore::Answer(const RecordedRequest& request) {
  std::lock_guard<std::mutex> lock(FMutex);
  const std::string path = request.Target.substr(0, request.Target.find('?'));
  if (request.Method == "GET" && (path == "/notes" || path == "/folders/F1/notes"))
    return List();
  if (request.Method == "GET" && path == "/folders")
    return Reply::Json(R"({"items":[{"id":"F1","title":"Inbox","parent_id":""}]})");
  if (path.starts_with("/notes/") && request.Method == "GET")
    return Read(path.substr(7), request.Target.find("fields=updated_time&") != std::string::npos);
  if (path.starts_with("/notes/") && request.Method == "PUT")
    return Write(path.substr(7), request.Body);
  if (request.Method == "POST" && path == "/notes")
    return Reply::Json(R"({"id":"dddddddddddddddddddddddddddddddd","title":"t"})");
  if (request.Method == "POST" && path == "/resources")
    return Reply::Json(R"({"id":"R1","title":"a.png"})");
  return Reply::Json("{}");
}

Reply NoteStore::List() {
  TJsonValue items = TJsonValue::array();
  for (const auto& [id, note] : Notes)
    items.push_back({{"id", id}, {"title", note.Title}, {"updated_time", note.Updated}});
  return Reply::Json(TJsonValue{{"items", items}, {"has_more", false}}.dump());
}

Reply NoteStore::Read(const std::string& id, bool updatedOnly) {
  const auto found = Notes.find(id);
  if (found == Notes.end())
    return Reply::Json(R"({"error":"Not Found"})", 404);
  FakeNote& note = found->second;
  if (updatedOnly && ChangeBeforeWrite)
    ++note.Updated;
  TJsonValue answer{{"id", id},
                    {"title", note.Title},
                    {"body", note.Body},
                    {"markup_language", note.Markup},
                    {"updated_time", note.Updated},
                    {"parent_id", "F1"}};
  if (LeaveOutBody)
    answer.erase("body");
  return Reply::Json(answer.dump());
}

Reply NoteStore::Write(const std::string& id, const std::string& body) {
  if (RefuseWrite)
    return Reply::Json(R"({"error":"Internal error"})", 500);
  Notes[id].Body = TJsonValue::parse(body).at("body");
  ++Notes[id].Updated;
  return Reply::Json(TJsonValue{{"id", id}, {"title", Notes[id].Title}}.dump());
}

}  // namespace TestSupport
