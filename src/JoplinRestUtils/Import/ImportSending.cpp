#include "JoplinRestUtils/Import/ImportSending.hpp"

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"

namespace JoplinRestUtils {
namespace {

// Answer time each request of an import earns: a run of any length gets as
// much per note as a single note's run has.
constexpr long kAnswerSecondsPerRequest = 30;

}  // namespace

TImportSender::TImportSender(TJoplinRest& client, const TImportNames& names,
                             const TImportSettings& settings, TLinkedFiles& files,
                             TImportJournal& journal, TJournalFile& journalFile)
    : FClient(client),
      FRequests(client),
      FNames(names),
      FSettings(settings),
      FFiles(files),
      FJournal(journal),
      FJournalFile(journalFile) {}

bool TImportSender::ServerGone() const {
  return !FClient.LastOutcome().Answered;
}

bool TImportSender::HasItem(std::string_view kind, const std::string& id) {
  return FRequests.ReadItemState(kind, id).Value == TItemState::Present;
}

bool TImportSender::Sent(const TRequestOutcome& outcome) {
  if (!outcome.Succeeded())
    FCause = outcome.Failure;
  return outcome.Succeeded();
}

bool TImportSender::Fail(const std::string& relPath, const std::string& cause) {
  ++FCounts.Failed;
  Kestrel::CommonLib::TellCause(relPath + ": " + cause);
  return !ServerGone();
}

bool TImportSender::MakeFolders(const TImportPlan& plan) {
  for (const TPlannedFolder& folder : plan.NewFolders) {
    if (FFailedFolders.count(folder.ParentId) != 0) {
      FFailedFolders.insert(folder.Id);
      continue;
    }
    FClient.GrantAnswerSeconds(kAnswerSecondsPerRequest);
    const TRequestOutcome made = FRequests.CreateNotebookWithId(
        folder.Id, Kestrel::CommonLib::DisplayFileName(folder.RelPath), folder.ParentId);
    if (made.Succeeded()) {
      FJournalFile.Record(FJournal, TJournalRecord::Folder, {folder.RelPath, folder.Id});
      continue;
    }
    if (HasItem("folders", folder.Id))
      continue;
    Kestrel::CommonLib::TellCause(folder.RelPath + "/: the notebook was not created (" +
                                  made.Failure + ")");
    if (ServerGone())
      return false;
    FFailedFolders.insert(folder.Id);
  }
  return true;
}

bool TImportSender::UploadResources(const TTreeNote& file, const TImportNote& note) {
  for (const TImportResource& resource : note.Resources) {
    if (FJournal.Resources.count(resource.ContentHash) != 0)
      continue;
    FClient.GrantAnswerSeconds(kAnswerSecondsPerRequest);
    const TRequestOutcome upload = FRequests.UploadResourceWithId(resource.Path, resource.Id);
    const bool uploaded = upload.Succeeded();
    // An upload whose answer was lost, by an earlier run, is there already.
    if (!uploaded && !HasItem("resources", resource.Id)) {
      Fail(file.RelPath, "the linked file " + Kestrel::CommonLib::QuotedPath(resource.Path) +
                             " was not uploaded (" + upload.Failure + "); the note is not sent");
      return false;
    }
    FCounts.Uploaded += uploaded ? 1 : 0;
    FJournalFile.Record(FJournal, TJournalRecord::Resource, {resource.ContentHash, resource.Id});
  }
  return true;
}

bool TImportSender::MakeWithoutBody(const std::string& id, const TImportNote& note) {
  TJsonValue json = TJsonValue::object();
  json["id"] = id;
  json.update(note.Json);
  json["body"] = "";
  return Sent(FClient.Request(TRESTRequestMethod::rmPOST, "notes", &json));
}

bool TImportSender::Create(TImportNote& note) {
  // Made without its body, then written whole: Joplin's POST would fetch
  // every image URL the body names; its PUT fetches nothing. A note left
  // without its body is not recorded, and the next run writes it.
  if (MakeWithoutBody(note.Id, note)) {
    if (!Sent(FClient.Request(TRESTRequestMethod::rmPUT, "notes/" + note.Id, &note.Json)))
      return false;
    ++FCounts.Created;
    return true;
  }
  // A note whose answer was lost, by an earlier run cut off, is there
  // already: it is written again, never made twice.
  const TReadResult<TItemState> there = FRequests.ReadItemState("notes", note.Id);
  if (!there.Value || *there.Value == TItemState::Missing)
    return false;
  if (!Sent(FClient.Request(TRESTRequestMethod::rmPUT, "notes/" + note.Id, &note.Json)))
    return false;
  ++FCounts.Updated;
  return true;
}

bool TImportSender::Update(const TPlannedNote& planned, TImportNote& note) {
  FLastStatus = 0;
  const TRequestOutcome put =
      FClient.Request(TRESTRequestMethod::rmPUT, "notes/" + planned.Id, &note.Json);
  FLastStatus = put.Status;
  if (!Sent(put))
    return false;
  ++FCounts.Updated;
  return true;
}

bool TImportSender::DeletedMeanwhile(const TPlannedNote& planned, TImportNote& note) {
  if (planned.Action != TNoteAction::Update || FLastStatus != 404)
    return false;
  TPlannedNote erased = planned;
  erased.Deleted = TDeletedInJoplin::Erased;
  if (FSettings.RestoreDeleted)
    return Restore(erased, note);
  TellLeftDeleted(erased);
  return true;
}

void TImportSender::TellLeftDeleted(const TPlannedNote& planned) {
  ++FCounts.LeftDeleted;
  const auto known = FJournal.Notes.find(planned.File->RelPath);
  // Kept, so that a later run still knows it without the events.
  if (known != FJournal.Notes.end() && known->second.Deleted != planned.Deleted)
    FJournalFile.Record(FJournal, TJournalRecord::DeletedInJoplin,
                        {planned.File->RelPath, DeletedName(planned.Deleted)});
  Kestrel::CommonLib::TellCause(LeftDeletedLine(planned));
}

bool TImportSender::Restore(const TPlannedNote& planned, TImportNote& note) {
  const bool trashed = planned.Deleted == TDeletedInJoplin::Trashed;
  // An erased note is made again as a new one is: without its body first.
  if (!trashed && !MakeWithoutBody(planned.Id, note))
    return false;
  TJsonValue json = TJsonValue::object();
  json.update(note.Json);
  if (trashed)
    json["deleted_time"] = 0;
  if (!Sent(FClient.Request(TRESTRequestMethod::rmPUT, "notes/" + planned.Id, &json)))
    return false;
  ++FCounts.Restored;
  return true;
}

bool TImportSender::SendNote(const TPlannedNote& planned) {
  const TTreeNote& file = *planned.File;
  if (FFailedFolders.count(FNames.FolderId(file.Folder)) != 0)
    return Fail(file.RelPath, "its notebook was not created");
  // Built again rather than kept from the plan: the plan holds no body, so
  // that a tree of any size costs the memory of one note.
  TImportNote note = BuildImportNote(file, FNames, FFiles, FSettings);
  if (!note.Failure.empty())
    return Fail(file.RelPath, note.Failure);
  note.Id = planned.Id;
  if (!UploadResources(file, note))
    return !ServerGone();
  FClient.GrantAnswerSeconds(kAnswerSecondsPerRequest);
  FCause.clear();
  bool sent = false;
  switch (planned.Action) {
    case TNoteAction::Create:
      sent = Create(note);
      break;
    case TNoteAction::Update:
      sent = Update(planned, note);
      break;
    default:
      sent = Restore(planned, note);
  }
  if (!sent && DeletedMeanwhile(planned, note))
    return true;
  if (!sent)
    return Fail(file.RelPath, FCause.empty() ? "the server did not take the note" : FCause);
  FJournalFile.Record(FJournal, TJournalRecord::Note, {file.RelPath, planned.Id, note.Digest});
  return true;
}

bool TImportSender::Send(const TImportPlan& plan, const TImportProgress& progress) {
  bool answering = MakeFolders(plan);
  size_t done = 0;
  std::uint64_t bytes = 0;
  for (const TPlannedNote& planned : plan.Notes) {
    switch (planned.Action) {
      case TNoteAction::Unchanged:
        ++FCounts.Unchanged;
        continue;
      case TNoteAction::LeftDeleted:
        TellLeftDeleted(planned);
        continue;
      case TNoteAction::Failed:
        Fail(planned.File->RelPath, planned.Failure);
        continue;
      default:
        break;
    }
    if (!answering) {
      ++FCounts.Failed;
      continue;
    }
    answering = SendNote(planned);
    ++done;
    bytes += planned.Bytes;
    if (progress)
      progress(done, bytes);
  }
  return answering;
}

void TImportSender::Prune(const TImportPlan& plan) {
  for (const TGoneNote& gone : plan.Gone) {
    FClient.GrantAnswerSeconds(kAnswerSecondsPerRequest);
    const TRequestOutcome trashed =
        FClient.Request(TRESTRequestMethod::rmDELETE, "notes/" + gone.Id);
    if (trashed.Succeeded() || trashed.Status == 404) {
      ++FCounts.Pruned;
      FJournalFile.Record(FJournal, TJournalRecord::Forget, {gone.RelPath});
      continue;
    }
    Fail(gone.RelPath,
         "its note " + gone.Id + " was not moved to the trash (" + trashed.Failure + ")");
  }
}

void TImportSender::RecordCursor() {
  const TReadResult<TNoteEvents> latest = FRequests.ReadNoteEvents("");
  if (latest.Value)
    FJournalFile.Record(FJournal, TJournalRecord::Cursor, {latest.Value->Cursor});
}

}  // namespace JoplinRestUtils
