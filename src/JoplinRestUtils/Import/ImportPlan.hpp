#pragma once
// What an import run will do, worked out before anything is sent: the
// notebooks to make, each file's note (made, sent again, left alone, or kept
// out because the user deleted it), the contents to upload, and the notes
// whose files are gone. It reads the tree and the journal, and what the
// server said of its state, but sends nothing.
#include <string>
#include <unordered_set>
#include <vector>

#include "JoplinRestUtils/Import/ImportJournal.hpp"
#include "JoplinRestUtils/Import/ImportNames.hpp"
#include "JoplinRestUtils/Import/ImportNote.hpp"

namespace JoplinRestUtils {

// What the server told before the plan: its notebooks, the notes of an
// earlier import found without a journal, the journal's notes that the user
// deleted since the last run, and those deleted before that the user has
// brought back.
struct TServerState {
  std::unordered_set<std::string> Folders;
  std::unordered_set<std::string> FoundNotes;
  std::unordered_set<std::string> Trashed;
  std::unordered_set<std::string> Erased;
  std::unordered_set<std::string> Revived;
};

enum class TNoteAction { Create, Update, Unchanged, Restore, LeftDeleted, Failed };

struct TPlannedNote {
  const TTreeNote* File = nullptr;
  std::string Id;
  TNoteAction Action = TNoteAction::Create;
  TDeletedInJoplin Deleted = TDeletedInJoplin::No;  // by the user, in Joplin
  std::string Failure;                              // Failed: why
  std::uint64_t Bytes = 0;
};

struct TPlannedFolder {
  std::string RelPath;
  std::string Id;
  std::string ParentId;
};

struct TGoneNote {
  std::string RelPath;
  std::string Id;
};

struct TImportPlan {
  std::vector<TPlannedFolder> NewFolders;  // each after its parent
  std::vector<TPlannedNote> Notes;         // in the tree's order
  std::vector<TGoneNote> Gone;             // files of the journal no longer there
  std::vector<TImportResource> Uploads;    // contents the notes to send need, each once
  std::vector<std::string> Warnings;
  std::uint64_t BytesToSend = 0;  // of the note files to send
  size_t NotesToSend() const;
};

TImportPlan PlanImport(const TImportNames& names, const TImportJournal& journal,
                       const TServerState& server, const TImportSettings& settings,
                       TLinkedFiles& files);

// Whether a planned note goes out.
bool IsSent(TNoteAction action);

// "a.md: its note ID was deleted in Joplin; not made again (--restore does)"
std::string LeftDeletedLine(const TPlannedNote& note);

}  // namespace JoplinRestUtils
