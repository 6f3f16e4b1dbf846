#include "JoplinRestUtils/Import/ImportRequests.hpp"

#include "JoplinRestUtils/Directories.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/NoteFields.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {
namespace {

// A server that keeps more events than this since the last run has been
// changed so much that reading them all costs more than it saves.
constexpr int kMaxEventPages = 1000;

std::string CursorText(const TJsonValue& cursor) {
  if (cursor.is_string())
    return cursor.get<std::string>();
  return cursor.is_number_integer() ? std::to_string(cursor.get<std::int64_t>()) : std::string();
}

}  // namespace

TRequestOutcome TImportRequests::CreateNotebookWithId(const std::string& id,
                                                      const std::string& title,
                                                      const std::string& parentId) {
  TJsonValue folder = TJsonValue::object();
  folder["id"] = id;
  folder.update(NotebookFields(title, parentId));
  return FClient.Request(TRESTRequestMethod::rmPOST, "folders", &folder);
}

TRequestOutcome TImportRequests::UploadResourceWithId(const std::string& file,
                                                      const std::string& id) {
  if (!Platform::FileExists(file))
    return {false, 0, "the file " + Kestrel::CommonLib::QuotedPath(file) + " is gone", false, true};
  TJsonValue properties = TJsonValue::object();
  properties["id"] = id;
  properties.update(ResourceProperties(file));
  FClient.PostFile("resources", file, &properties);
  return FClient.LastOutcome();
}

TReadResult<TItemState> TImportRequests::ReadItemState(std::string_view kind,
                                                       const std::string& id) {
  const bool note = kind == "notes";
  FClient.Get(
      std::string(kind) + "/" + id,
      note ? std::vector<std::string>{"id", "deleted_time"} : std::vector<std::string>{"id"}, "",
      false, 0);
  TReadResult<TItemState> result{FClient.LastOutcome(), {}};
  if (result.Request.Status == 404) {
    result.Value = TItemState::Missing;
  } else if (result.Request.Succeeded()) {
    const std::optional<TJsonValue>& answer = FClient.AnswerJson();
    const bool trashed =
        note && answer && answer->is_object() && answer->value("deleted_time", std::int64_t{0}) > 0;
    result.Value = trashed ? TItemState::Trashed : TItemState::Present;
  }
  return result;
}

TReadResult<std::vector<std::string>> TImportRequests::ReadNotebookNoteIds(
    const std::string& folderId) {
  Kestrel::CommonLib::TStringList notes;
  const bool read = FetchDirectory(FClient, notes, "folders/" + folderId + "/notes", nullptr, true);
  TReadResult<std::vector<std::string>> result{FClient.LastOutcome(), {}};
  if (!read)
    return result;
  result.Value.emplace();
  for (const auto& entry : notes.Lines())
    result.Value->emplace_back(Kestrel::CommonLib::TStringList::NameOf(entry));
  return result;
}

TReadResult<TNoteEvents> TImportRequests::ReadNoteEvents(const std::string& cursor) {
  TNoteEvents events{cursor, {}};
  for (int page = 0; page < kMaxEventPages; ++page) {
    const std::string resource =
        events.Cursor.empty() ? "events" : "events?cursor=" + events.Cursor;
    const TRequestOutcome read = FClient.Request(TRESTRequestMethod::rmGET, resource);
    if (!read.Succeeded())
      return {read, {}};
    const std::optional<TJsonValue>& answer = FClient.AnswerJson();
    if (!answer || !answer->is_object() || !answer->contains("cursor"))
      return {read, {}};
    const std::string next = CursorText((*answer)["cursor"]);
    if (next.empty())
      return {read, {}};
    const bool asked = !events.Cursor.empty();
    if (asked && answer->contains("items") && (*answer)["items"].is_array()) {
      for (const auto& item : (*answer)["items"]) {
        if (!item.is_object() || item.value("item_type", 0) != 1 || !item.contains("item_id") ||
            !item["item_id"].is_string())
          continue;
        events.Changes[item["item_id"].get<std::string>()] = item.value("type", 0);
      }
    }
    events.Cursor = next;
    if (!asked || !answer->value("has_more", false))
      return {read, std::move(events)};
  }
  return {FClient.LastOutcome(), {}};
}

}  // namespace JoplinRestUtils
