// What TJoplinRest reads of the server's state for an import: change events,
// a notebook's notes, and whether an id is taken.
#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"

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

bool TJoplinRest::ReadNotebookNoteIds(const std::string& folderId, std::vector<std::string>& ids) {
  Kestrel::CommonLib::TStringList notes;
  if (!FetchDirectory(notes, "folders/" + folderId + "/notes", nullptr, true))
    return false;
  for (const auto& entry : notes.Lines())
    ids.emplace_back(Kestrel::CommonLib::TStringList::NameOf(entry));
  return true;
}

bool TJoplinRest::ReadNoteEvents(std::string& cursor,
                                 std::unordered_map<std::string, int>& changes) {
  for (int page = 0; page < kMaxEventPages; ++page) {
    const std::string resource = cursor.empty() ? "events" : "events?cursor=" + cursor;
    if (!Get(resource, {}, "", false, 0) || FRestResponse.StatusCode() >= 300)
      return false;
    const std::optional<TJsonValue>& answer = FRestResponse.JsonValue();
    if (!answer || !answer->is_object() || !answer->contains("cursor"))
      return false;
    const std::string next = CursorText((*answer)["cursor"]);
    if (next.empty())
      return false;
    const bool asked = !cursor.empty();
    if (asked && answer->contains("items") && (*answer)["items"].is_array()) {
      for (const auto& item : (*answer)["items"]) {
        if (!item.is_object() || item.value("item_type", 0) != 1 || !item.contains("item_id") ||
            !item["item_id"].is_string())
          continue;
        changes[item["item_id"].get<std::string>()] = item.value("type", 0);
      }
    }
    cursor = next;
    if (!asked || !answer->value("has_more", false))
      return true;
  }
  return false;
}

bool TJoplinRest::ReadItemState(std::string_view kind, const std::string& id, TItemState& state) {
  const bool note = kind == "notes";
  if (!Get(std::string(kind) + "/" + id,
           note ? std::vector<std::string>{"id", "deleted_time"} : std::vector<std::string>{"id"},
           "", false, 0))
    return false;
  if (FRestResponse.StatusCode() == 404) {
    state = TItemState::Missing;
    return true;
  }
  if (FRestResponse.StatusCode() >= 300)
    return false;
  const std::optional<TJsonValue>& answer = FRestResponse.JsonValue();
  const bool trashed =
      note && answer && answer->is_object() && answer->value("deleted_time", std::int64_t{0}) > 0;
  state = trashed ? TItemState::Trashed : TItemState::Present;
  return true;
}

}  // namespace JoplinRestUtils
