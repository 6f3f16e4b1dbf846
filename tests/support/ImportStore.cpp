#include "support/ImportStore.hpp"

#include "JoplinRestUtils/Json/Json.hpp"
#include "support/FakeJoplin.hpp"

namespace TestSupport {
namespace {

using JoplinRestUtils::TJsonValue;

Reply Duplicate() {
  return Reply::Json(
      R"({"error":"Internal Server Error: SQLITE_CONSTRAINT: UNIQUE constraint failed"})", 500);
}

Reply NotFound() {
  return Reply::Json(R"({"error":"Not Found"})", 404);
}

std::string QueryValue(const std::string& target, const std::string& name) {
  const size_t at = target.find(name + "=");
  if (at == std::string::npos)
    return {};
  const size_t start = at + name.size() + 1;
  return target.substr(start, target.find('&', start) - start);
}

void TakeFields(const TJsonValue& json, StoredNote& note) {
  if (json.contains("parent_id"))
    note.ParentId = json["parent_id"];
  if (json.contains("title"))
    note.Title = json["title"];
  if (json.contains("body"))
    note.Body = json["body"];
  if (json.contains("tags"))
    note.Tags = json["tags"];
  if (json.contains("deleted_time"))
    note.Deleted = json["deleted_time"];
  ++note.Writes;
}

}  // namespace

void ImportStore::TrashNote(const std::string& id) {
  std::lock_guard<std::mutex> lock(FMutex);
  Notes[id].Deleted = 1;
  Event(id, 2);
}

void ImportStore::EraseNote(const std::string& id) {
  std::lock_guard<std::mutex> lock(FMutex);
  Notes.erase(id);
  Event(id, 3);
}

void ImportStore::Event(const std::string& id, int type) {
  FEvents.emplace_back(id, type);
}

Reply ImportStore::Answer(const RecordedRequest& request) {
  std::lock_guard<std::mutex> lock(FMutex);
  const std::string path = request.Target.substr(0, request.Target.find('?'));
  const std::string& method = request.Method;
  if (method == "GET" && path == "/folders")
    return ListFolders();
  if (method == "POST" && path == "/folders")
    return MakeFolder(request.Body);
  if (method == "GET" && path.starts_with("/folders/") && path.ends_with("/notes"))
    return ListNotes(path.substr(9, path.size() - 15));
  if (method == "GET" && path.starts_with("/folders/"))
    return Folders.count(path.substr(9)) ? Reply::Json(R"({"id":"x"})") : NotFound();
  if (method == "GET" && path == "/events")
    return Events(request.Target);
  if (method == "POST" && path == "/notes")
    return MakeNote(request.Body);
  if (path.starts_with("/notes/")) {
    const std::string id = path.substr(7);
    const auto note = Notes.find(id);
    if (note == Notes.end())
      return NotFound();
    if (method == "PUT")
      return WriteNote(id, request.Body);
    if (method == "DELETE") {
      note->second.Deleted = 1;
      Event(id, 2);
      return Reply::EmptyChunked();  // as Joplin answers it
    }
    return Reply::Json(TJsonValue{{"id", id}, {"deleted_time", note->second.Deleted}}.dump());
  }
  if (method == "POST" && path == "/resources")
    return MakeResource(request);
  if (method == "GET" && path.starts_with("/resources/"))
    return Resources.count(path.substr(11)) ? Reply::Json(R"({"id":"x"})") : NotFound();
  return Reply::Json(R"({"error":"not served by the test"})", 400);
}

Reply ImportStore::ListFolders() const {
  TJsonValue items = TJsonValue::array();
  for (const auto& [id, parent] : Folders)
    items.push_back({{"id", id}, {"title", Titles.at(id)}, {"parent_id", parent}});
  return Reply::Json(TJsonValue{{"items", items}, {"has_more", false}}.dump());
}

Reply ImportStore::ListNotes(const std::string& folderId) const {
  TJsonValue items = TJsonValue::array();
  for (const auto& [id, note] : Notes) {
    if (note.ParentId == folderId && note.Deleted == 0)
      items.push_back({{"id", id}, {"title", note.Title}, {"parent_id", note.ParentId}});
  }
  return Reply::Json(TJsonValue{{"items", items}, {"has_more", false}}.dump());
}

Reply ImportStore::Events(const std::string& target) const {
  const std::string cursor = QueryValue(target, "cursor");
  TJsonValue items = TJsonValue::array();
  if (!cursor.empty()) {
    for (size_t i = std::stoul(cursor); i < FEvents.size(); ++i)
      items.push_back({{"id", i + 1},
                       {"item_type", 1},
                       {"item_id", FEvents[i].first},
                       {"type", FEvents[i].second}});
  }
  return Reply::Json(
      TJsonValue{{"items", items}, {"has_more", false}, {"cursor", std::to_string(FEvents.size())}}
          .dump());
}

Reply ImportStore::MakeFolder(const std::string& body) {
  const TJsonValue json = TJsonValue::parse(body);
  const std::string id = json["id"];
  if (Folders.count(id))
    return Duplicate();
  Folders[id] = json.value("parent_id", "");
  Titles[id] = json["title"];
  return Reply::Json(json.dump());
}

Reply ImportStore::MakeNote(const std::string& body) {
  const TJsonValue json = TJsonValue::parse(body);
  const std::string id = json["id"];
  if (Notes.count(id))
    return Duplicate();
  TakeFields(json, Notes[id]);
  Event(id, 1);
  if (NoteMade)
    NoteMade(id);
  return Reply::Json(TJsonValue{{"id", id}, {"title", Notes[id].Title}}.dump());
}

Reply ImportStore::WriteNote(const std::string& id, const std::string& body) {
  TakeFields(TJsonValue::parse(body), Notes[id]);
  Event(id, 2);
  return Reply::Json(TJsonValue{{"id", id}}.dump());
}

Reply ImportStore::MakeResource(const RecordedRequest& request) {
  const TJsonValue props = TJsonValue::parse(PropsOf(request));
  const std::string id = props["id"];
  if (Resources.count(id))
    return Duplicate();
  Resources[id] = FileBytesOf(request);
  return Reply::Json(TJsonValue{{"id", id}, {"title", props["title"]}}.dump());
}

}  // namespace TestSupport
