#include "support/FakeDataApi.hpp"

#include <mutex>

#include "JoplinRestUtils/Json/Json.hpp"

namespace TestSupport {

using JoplinRestUtils::TJsonValue;

struct FakeDataState {
  std::vector<FakeFolder> Folders;
  std::map<std::string, FakeNote> Notes;
  std::map<std::string, std::string> Resources;
  std::map<std::string, std::string> Tags;
  std::vector<std::pair<std::string, std::string>> TagLinks;  // tag id, note id
  bool ChangeBeforeWrite = false;
  bool RefuseWrite = false;
  bool LeaveOutBody = false;
  std::function<void(const std::string&)> NoteMade;

  std::mutex Mutex;
  int Counter = 0;
  std::int64_t Clock = 1000000;  // updated_time of the next write
  std::vector<std::pair<std::string, int>> Events;

  Reply Answer(const RecordedRequest& request);

 private:
  Reply Folder(const std::string& method, const std::string& path, const std::string& body);
  Reply Note(const RecordedRequest& request, const std::string& id);
  Reply MakeNote(const std::string& body);
  Reply ReadNote(const std::string& id, const std::string& target);
  Reply WriteNote(const std::string& id, const std::string& body);
  Reply MakeResource(const RecordedRequest& request);
  Reply Tag(const std::string& method, const std::string& path, const std::string& body);
  Reply ListNotes(const std::string& folderId) const;
  Reply EventsSince(const std::string& target) const;
  std::string NewId(const char* kind) { return kind + std::to_string(++Counter); }
  void Event(const std::string& id, int type) { Events.emplace_back(id, type); }
};

namespace {

Reply Duplicate() {
  return Reply::Json(
      R"({"error":"Internal Server Error: SQLITE_CONSTRAINT: UNIQUE constraint failed"})", 500);
}

Reply NotFound() {
  return Reply::Json(R"({"error":"Not Found"})", 404);
}

std::string PathOf(const std::string& target) {
  return target.substr(0, target.find('?'));
}

std::string QueryValue(const std::string& target, const std::string& name) {
  const size_t query = target.find('?');
  if (query == std::string::npos)
    return {};
  for (size_t at = query; at != std::string::npos; at = target.find('&', at + 1)) {
    if (target.compare(at + 1, name.size() + 1, name + "=") == 0) {
      const size_t start = at + name.size() + 2;
      return target.substr(start, target.find('&', start) - start);
    }
  }
  return {};
}

Reply List(TJsonValue items) {
  return Reply::Json(TJsonValue{{"items", std::move(items)}, {"has_more", false}}.dump());
}

void TakeFields(const TJsonValue& json, FakeNote& note) {
  if (json.contains("parent_id"))
    note.ParentId = json["parent_id"];
  if (json.contains("title"))
    note.Title = json["title"];
  if (json.contains("body"))
    note.Body = json["body"];
  if (json.contains("tags"))
    note.Tags = json["tags"];
  if (json.contains("markup_language"))
    note.Markup = json["markup_language"];
  if (json.contains("deleted_time"))
    note.Deleted = json["deleted_time"];
  ++note.Writes;
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

Reply FakeDataState::Answer(const RecordedRequest& request) {
  std::lock_guard lock(Mutex);
  const std::string path = PathOf(request.Target);
  const std::string& method = request.Method;
  try {
    if (path == "/ping")
      return Reply::Json("JoplinClipperServer");
    if (path == "/folders" || path.starts_with("/folders/"))
      return Folder(method, path, request.Body);
    if (method == "GET" && path == "/notes")
      return ListNotes("");
    if (method == "POST" && path == "/notes")
      return MakeNote(request.Body);
    if (path.starts_with("/notes/"))
      return Note(request, path.substr(7));
    if (method == "GET" && path == "/events")
      return EventsSince(request.Target);
    if (method == "POST" && path == "/resources")
      return MakeResource(request);
    if (path.starts_with("/resources/")) {
      const std::string id = path.substr(11);
      if (Resources.count(id) == 0)
        return NotFound();
      if (method == "DELETE") {
        Resources.erase(id);
        return Reply::EmptyChunked();
      }
      return Reply::Json(TJsonValue{{"id", id}}.dump());
    }
    if (path == "/tags" || path.starts_with("/tags/"))
      return Tag(method, path, request.Body);
  } catch (const std::exception&) {
    return Reply::Json(R"({"error":"Bad request"})", 400);
  }
  return NotFound();
}

Reply FakeDataState::Folder(const std::string& method, const std::string& path,
                            const std::string& body) {
  if (method == "GET" && path == "/folders") {
    TJsonValue items = TJsonValue::array();
    for (const auto& folder : Folders)
      items.push_back({{"id", folder.Id}, {"parent_id", folder.ParentId}, {"title", folder.Title}});
    return List(std::move(items));
  }
  if (method == "POST" && path == "/folders") {
    const TJsonValue asked = TJsonValue::parse(body);
    const bool chosen = asked.contains("id");
    const std::string id = chosen ? asked["id"].get<std::string>() : NewId("C");
    for (const auto& folder : Folders) {
      if (folder.Id == id)
        return Duplicate();
    }
    Folders.emplace_back(id, asked.at("title"), asked.value("parent_id", ""));
    return Reply::Json(chosen ? asked.dump()
                              : TJsonValue{{"id", id}, {"title", Folders.back().Title}}.dump());
  }
  if (method == "GET" && path.ends_with("/notes"))
    return ListNotes(path.substr(9, path.size() - 15));
  if (method == "GET") {
    const std::string id = path.substr(9);
    for (const auto& folder : Folders) {
      if (folder.Id == id)
        return Reply::Json(TJsonValue{{"id", id}, {"title", folder.Title}}.dump());
    }
  }
  return NotFound();
}

Reply FakeDataState::ListNotes(const std::string& folderId) const {
  TJsonValue items = TJsonValue::array();
  for (const auto& [id, note] : Notes) {
    if (note.Deleted == 0 && (folderId.empty() || note.ParentId == folderId))
      items.push_back({{"id", id},
                       {"title", note.Title},
                       {"parent_id", note.ParentId},
                       {"updated_time", note.Updated}});
  }
  return List(std::move(items));
}

Reply FakeDataState::MakeNote(const std::string& body) {
  const TJsonValue json = TJsonValue::parse(body);
  const std::string id = json.contains("id") ? json["id"].get<std::string>() : NewId("N");
  if (Notes.count(id) != 0)
    return Duplicate();
  FakeNote& note = Notes[id];
  TakeFields(json, note);
  note.Updated = ++Clock;
  Event(id, 1);
  if (NoteMade)
    NoteMade(id);
  return Reply::Json(TJsonValue{{"id", id}, {"title", note.Title}}.dump());
}

Reply FakeDataState::Note(const RecordedRequest& request, const std::string& id) {
  const auto found = Notes.find(id);
  if (found == Notes.end())
    return NotFound();
  if (request.Method == "GET")
    return ReadNote(id, request.Target);
  if (request.Method == "PUT")
    return WriteNote(id, request.Body);
  if (request.Method == "DELETE") {
    if (QueryValue(request.Target, "permanent") == "1") {
      Notes.erase(found);
      Event(id, 3);
    } else {
      found->second.Deleted = ++Clock;
      Event(id, 2);
    }
    return Reply::EmptyChunked();
  }
  return NotFound();
}

Reply FakeDataState::ReadNote(const std::string& id, const std::string& target) {
  FakeNote& note = Notes.at(id);
  const std::string fields = QueryValue(target, "fields");
  if (fields == "updated_time" && ChangeBeforeWrite)
    ++note.Updated;
  TJsonValue answer{{"id", id},
                    {"title", note.Title},
                    {"body", note.Body},
                    {"markup_language", note.Markup},
                    {"updated_time", note.Updated},
                    {"parent_id", note.ParentId},
                    {"deleted_time", note.Deleted}};
  if (LeaveOutBody)
    answer.erase("body");
  // Only the fields asked for, as Joplin answers.
  if (!fields.empty()) {
    TJsonValue asked = TJsonValue::object();
    for (size_t start = 0; start <= fields.size();) {
      const size_t comma = std::min(fields.find(',', start), fields.size());
      const std::string name = fields.substr(start, comma - start);
      if (answer.contains(name))
        asked[name] = answer[name];
      start = comma + 1;
    }
    answer = std::move(asked);
  }
  return Reply::Json(answer.dump());
}

Reply FakeDataState::WriteNote(const std::string& id, const std::string& body) {
  if (RefuseWrite)
    return Reply::Json(R"({"error":"Internal error"})", 500);
  FakeNote& note = Notes.at(id);
  TakeFields(TJsonValue::parse(body), note);
  note.Updated = ++Clock;
  Event(id, 2);
  return Reply::Json(TJsonValue{{"id", id}, {"title", note.Title}}.dump());
}

Reply FakeDataState::MakeResource(const RecordedRequest& request) {
  const std::string props = PartAfterHeaders(request, "name=\"props\"");
  const TJsonValue json = props.empty() ? TJsonValue::object() : TJsonValue::parse(props);
  const std::string id = json.contains("id") ? json["id"].get<std::string>() : NewId("R");
  if (Resources.count(id) != 0)
    return Duplicate();
  Resources[id] = PartAfterHeaders(request, "name=\"data\"");
  return Reply::Json(TJsonValue{{"id", id}, {"title", json.value("title", "")}}.dump());
}

Reply FakeDataState::Tag(const std::string& method, const std::string& path,
                         const std::string& body) {
  if (method == "GET" && path == "/tags") {
    TJsonValue items = TJsonValue::array();
    for (const auto& [id, title] : Tags)
      items.push_back({{"id", id}, {"title", title}});
    return List(std::move(items));
  }
  if (method == "POST" && path == "/tags") {
    const std::string id = NewId("T");
    Tags[id] = TJsonValue::parse(body).at("title");
    return Reply::Json(TJsonValue{{"id", id}, {"title", Tags[id]}}.dump());
  }
  if (method == "POST" && path.ends_with("/notes")) {
    const std::string tagId = path.substr(6, path.size() - 12);
    const std::string noteId = TJsonValue::parse(body).at("id");
    if (Tags.count(tagId) == 0 || Notes.count(noteId) == 0)
      return NotFound();
    TagLinks.emplace_back(tagId, noteId);
    return Reply::Json(TJsonValue{{"id", noteId}}.dump());
  }
  return NotFound();
}

Reply FakeDataState::EventsSince(const std::string& target) const {
  const std::string cursor = QueryValue(target, "cursor");
  TJsonValue items = TJsonValue::array();
  if (!cursor.empty()) {
    for (size_t i = std::stoul(cursor); i < Events.size(); ++i)
      items.push_back({{"id", i + 1},
                       {"item_type", 1},
                       {"item_id", Events[i].first},
                       {"type", Events[i].second}});
  }
  return Reply::Json(
      TJsonValue{{"items", items}, {"has_more", false}, {"cursor", std::to_string(Events.size())}}
          .dump());
}

FakeDataApi::FakeDataApi()
    : FState(std::make_shared<FakeDataState>()),
      Folders(FState->Folders),
      Notes(FState->Notes),
      Resources(FState->Resources),
      Tags(FState->Tags),
      ChangeBeforeWrite(FState->ChangeBeforeWrite),
      RefuseWrite(FState->RefuseWrite),
      LeaveOutBody(FState->LeaveOutBody),
      NoteMade(FState->NoteMade) {}

FakeDataApi::~FakeDataApi() = default;

void FakeDataApi::Install(TestHttpServer& server) const {
  server.Handle(
      [state = FState](const RecordedRequest& request) { return state->Answer(request); });
}

Reply FakeDataApi::Answer(const RecordedRequest& request) const {
  return FState->Answer(request);
}

void FakeDataApi::AddJournalNotes() {
  std::lock_guard lock(FState->Mutex);
  Folders.emplace_back("F1", "Inbox");
  Notes[kJournal] = {"F1", "Journal", "day one\n", "", 1, 2000, 0, 0};
  Notes[kOlder] = {"F1", "journal", "old\n", "", 1, 1000, 0, 0};
  Notes[kPage] = {"F1", "Page", "<p>x</p>", "", 2, 1000, 0, 0};
}

void FakeDataApi::TrashNote(const std::string& id) {
  std::lock_guard lock(FState->Mutex);
  Notes[id].Deleted = ++FState->Clock;
  FState->Events.emplace_back(id, 2);
}

void FakeDataApi::EraseNote(const std::string& id) {
  std::lock_guard lock(FState->Mutex);
  Notes.erase(id);
  FState->Events.emplace_back(id, 3);
}

const FakeFolder* FakeDataApi::Folder(const std::string& id) const {
  for (const auto& folder : Folders) {
    if (folder.Id == id)
      return &folder;
  }
  return nullptr;
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

namespace {

// The first JSON string at `at` as written, quotes and escapes included.
std::string StringTokenAt(const std::string& json, size_t at) {
  size_t end = at + 1;
  while (end < json.size() && json[end] != '"')
    end += json[end] == '\\' ? 2 : 1;
  return json.substr(at, end + 1 - at);
}

}  // namespace

std::string LastNoteJson(const TestHttpServer& server) {
  const std::vector<RecordedRequest> all = server.Requests();
  std::string json;
  size_t post = all.size();
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].Method == "POST" && PathOf(all[i].Target) == "/notes")
      post = i;
  }
  if (post == all.size())
    return json;
  json = all[post].Body;
  // A note with a body is made with an empty one and given its body by the
  // PUT that follows: the note as sent is the first with the second's body.
  constexpr std::string_view kEmptyBody = "\"body\":\"\"}";
  for (size_t i = post + 1; i < all.size(); ++i) {
    const RecordedRequest& request = all[i];
    if (request.Method == "PUT" && request.Target.starts_with("/notes/") &&
        request.Body.starts_with("{\"body\":\"") && json.ends_with(kEmptyBody)) {
      json.resize(json.size() - kEmptyBody.size());
      json += "\"body\":" + StringTokenAt(request.Body, 8) + "}";
      break;
    }
  }
  return json;
}

std::string TheNoteJson(const TestHttpServer& server) {
  const size_t notes = RequestsTo(server, "POST", "/notes").size();
  return notes == 1 ? LastNoteJson(server) : "<" + std::to_string(notes) + " notes>";
}

std::string PropsOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"props\"");
}

std::string FileBytesOf(const RecordedRequest& upload) {
  return PartAfterHeaders(upload, "name=\"data\"");
}

}  // namespace TestSupport
