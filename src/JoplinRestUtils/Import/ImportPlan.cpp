#include "JoplinRestUtils/Import/ImportPlan.hpp"

#include <unordered_map>

namespace JoplinRestUtils {
namespace {

// How the user left the journal's note in Joplin: as this run's events
// tell, else as the last run found it.
TDeletedInJoplin DeletedNow(const TJournalNote& before, const TServerState& server) {
  if (server.Trashed.count(before.Id) != 0)
    return TDeletedInJoplin::Trashed;
  if (server.Erased.count(before.Id) != 0)
    return TDeletedInJoplin::Erased;
  return server.Revived.count(before.Id) != 0 ? TDeletedInJoplin::No : before.Deleted;
}

TNoteAction ActionFor(const TImportNote& built, const TJournalNote* before,
                      TDeletedInJoplin deleted, const TServerState& server, bool restore) {
  if (!built.Failure.empty())
    return TNoteAction::Failed;
  if (!before)
    return server.FoundNotes.count(built.Id) != 0 ? TNoteAction::Update : TNoteAction::Create;
  if (deleted != TDeletedInJoplin::No)
    return restore ? TNoteAction::Restore : TNoteAction::LeftDeleted;
  return before->Digest == built.Digest ? TNoteAction::Unchanged : TNoteAction::Update;
}

}  // namespace

bool IsSent(TNoteAction action) {
  return action == TNoteAction::Create || action == TNoteAction::Update ||
         action == TNoteAction::Restore;
}

std::string LeftDeletedLine(const TPlannedNote& note) {
  return note.File->RelPath + ": its note " + note.Id +
         " was deleted in Joplin; not made again (--restore does)";
}

size_t TImportPlan::NotesToSend() const {
  size_t count = 0;
  for (const auto& note : Notes)
    count += IsSent(note.Action) ? 1 : 0;
  return count;
}

namespace {

std::string ForeignRecordWarning(const std::string& relPath, const std::string& id) {
  return relPath + ": the journal names the note " + id +
         ", which this import did not make; the record is not used";
}

}  // namespace

TImportPlan PlanImport(const TImportNames& names, const TImportJournal& journal,
                       const TServerState& server, const TImportSettings& settings,
                       TLinkedFiles& files) {
  TImportPlan plan;
  for (const std::string& folder : names.Tree().Folders) {
    const std::string id = names.FolderId(folder);
    if (server.Folders.count(id) == 0)
      plan.NewFolders.push_back({folder, id, names.FolderId(TreeParent(folder))});
  }
  std::unordered_set<std::string> inTree, uploading;
  for (const TTreeNote& file : names.Tree().Notes) {
    inTree.insert(file.RelPath);
    TImportNote built = BuildImportNote(file, names, files, settings);
    for (auto& warning : built.Warnings)
      plan.Warnings.push_back(std::move(warning));
    const auto before = journal.Notes.find(file.RelPath);
    const TJournalNote* known = before == journal.Notes.end() ? nullptr : &before->second;
    // A record naming a note that this import did not make (an edited
    // journal) is not acted on: the note it names is left alone.
    if (known != nullptr && !names.IsOwnNoteId(file.RelPath, known->Id)) {
      plan.Warnings.push_back(ForeignRecordWarning(file.RelPath, known->Id));
      known = nullptr;
    }
    TPlannedNote planned;
    planned.File = &file;
    planned.Id = known ? known->Id : built.Id;
    planned.Deleted = known ? DeletedNow(*known, server) : TDeletedInJoplin::No;
    planned.Action = ActionFor(built, known, planned.Deleted, server, settings.RestoreDeleted);
    planned.Failure = built.Failure;
    planned.Bytes = built.Bytes;
    if (IsSent(planned.Action)) {
      plan.BytesToSend += built.Bytes;
      for (auto& resource : built.Resources) {
        if (journal.Resources.count(resource.ContentHash) == 0 &&
            uploading.insert(resource.ContentHash).second)
          plan.Uploads.push_back(std::move(resource));
      }
    }
    plan.Notes.push_back(std::move(planned));
  }
  for (const auto& [relPath, note] : journal.Notes) {
    if (inTree.count(relPath) != 0)
      continue;
    if (names.IsOwnNoteId(relPath, note.Id))
      plan.Gone.push_back({relPath, note.Id});
    else
      plan.Warnings.push_back(ForeignRecordWarning(relPath, note.Id));
  }
  return plan;
}

}  // namespace JoplinRestUtils
