#pragma once
// What an import asks of the Data API beyond notes and notebooks by title:
// items made with the ids it chose, whether an id is taken, a notebook's
// notes, and the change events since the last run. Each call answers with
// its outcome.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Http/RequestOutcome.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"

namespace JoplinRestUtils {

// What the server holds under an id.
enum class TItemState { Missing, Present, Trashed };

// The notes changed since a cursor (id: the last kind of change, 1 made,
// 2 changed, 3 deleted for good), and the cursor past them.
struct TNoteEvents {
  std::string Cursor;
  std::unordered_map<std::string, int> Changes;
};

class TImportRequests {
 public:
  explicit TImportRequests(TJoplinRest& client) : FClient(client) {}

  // Creates the notebook with the id chosen (under `parentId`, empty: at the top).
  TRequestOutcome CreateNotebookWithId(const std::string& id, const std::string& title,
                                       const std::string& parentId);
  // Uploads one file as the resource with the id chosen.
  TRequestOutcome UploadResourceWithId(const std::string& file, const std::string& id);
  // Whether `kind` ("notes", "resources", "folders") holds the id, and a
  // note whether it is in the trash.
  TReadResult<TItemState> ReadItemState(std::string_view kind, const std::string& id);
  // The ids of a notebook's notes (those in the trash not among them).
  // Throws ERequestRefused for an error answer.
  TReadResult<std::vector<std::string>> ReadNotebookNoteIds(const std::string& folderId);
  // The notes changed since `cursor`; with an empty cursor, only the latest
  // cursor. No value when the server keeps no events.
  TReadResult<TNoteEvents> ReadNoteEvents(const std::string& cursor);

 private:
  TJoplinRest& FClient;
};

}  // namespace JoplinRestUtils
