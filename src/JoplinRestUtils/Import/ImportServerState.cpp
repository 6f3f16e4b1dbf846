#include "JoplinRestUtils/Import/ImportServerState.hpp"

#include <unordered_map>

#include "JoplinRestUtils/Import/ImportRequests.hpp"

namespace JoplinRestUtils {
namespace {

constexpr int kErasedForGood = 3;

bool ReadDeletedNotes(TJoplinRest& client, const TImportJournal& journal, TServerState& state,
                      std::vector<std::string>& notices) {
  TImportRequests requests(client);
  const TReadResult<TNoteEvents> events = requests.ReadNoteEvents(journal.Cursor);
  if (!events.Value) {
    if (!events.Request.Answered)
      return false;
    notices.push_back(
        "the server's change events cannot be read, so notes deleted in Joplin "
        "since the last import are not noticed");
    return true;
  }
  const std::unordered_map<std::string, int>& changes = events.Value->Changes;
  for (const auto& [relPath, note] : journal.Notes) {
    const auto change = changes.find(note.Id);
    if (change == changes.end())
      continue;
    TItemState itemState = TItemState::Missing;
    if (change->second != kErasedForGood) {
      const TReadResult<TItemState> read = requests.ReadItemState("notes", note.Id);
      if (!read.Value)
        return false;
      itemState = *read.Value;
    }
    if (itemState == TItemState::Missing)
      state.Erased.insert(note.Id);
    else if (itemState == TItemState::Trashed)
      state.Trashed.insert(note.Id);
    else
      state.Revived.insert(note.Id);
  }
  return true;
}

// Without a journal, the notebooks of the tree that exist already may hold
// the notes of an earlier import: they are found by their ids.
bool FindEarlierNotes(TJoplinRest& client, const TImportNames& names, TServerState& state,
                      std::vector<std::string>& notices) {
  std::vector<std::string> folders;
  if (state.Folders.count(names.TargetId()) != 0)
    folders.push_back(names.TargetId());
  for (const std::string& folder : names.Tree().Folders) {
    if (state.Folders.count(names.FolderId(folder)) != 0)
      folders.push_back(names.FolderId(folder));
  }
  TImportRequests requests(client);
  std::unordered_set<std::string> present;
  for (const std::string& folder : folders) {
    const TReadResult<std::vector<std::string>> ids = requests.ReadNotebookNoteIds(folder);
    if (!ids.Value)
      return false;
    present.insert(ids.Value->begin(), ids.Value->end());
  }
  for (const TTreeNote& note : names.Tree().Notes) {
    const std::string id = names.NoteId(note.RelPath);
    if (present.count(id) != 0)
      state.FoundNotes.insert(id);
  }
  if (!state.FoundNotes.empty())
    notices.push_back("no journal of this import was found, but " +
                      std::to_string(state.FoundNotes.size()) +
                      " notes of an earlier import of the folder are in Joplin: they are "
                      "updated, not made again");
  return true;
}

}  // namespace

bool ReadServerState(TJoplinRest& client, const TImportNames& names, const TImportJournal& journal,
                     TServerState& state, std::vector<std::string>& notices) {
  if (!client.ReadNotebooks())
    return false;
  for (const auto& entry : client.Folders().Lines())
    state.Folders.emplace(Kestrel::CommonLib::TStringList::NameOf(entry));
  if (!journal.Found)
    return FindEarlierNotes(client, names, state, notices);
  if (journal.Cursor.empty())
    return true;
  return ReadDeletedNotes(client, journal, state, notices);
}

}  // namespace JoplinRestUtils
