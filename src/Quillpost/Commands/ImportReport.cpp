#include "Quillpost/Commands/ImportReport.hpp"

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"

namespace Quillpost {
namespace {

using namespace JoplinRestUtils;
using Kestrel::CommonLib::TellCause;

void TellPlannedNote(const TPlannedNote& note) {
  const std::string& path = note.File->RelPath;
  switch (note.Action) {
    case TNoteAction::Create:
      TellCause("would create " + path);
      break;
    case TNoteAction::Update:
      TellCause("would update " + path + " (note " + note.Id + ")");
      break;
    case TNoteAction::Restore:
      TellCause("would restore " + path + " (note " + note.Id + ")");
      break;
    case TNoteAction::LeftDeleted:
      TellCause(path + ": its note " + note.Id +
                " was deleted in Joplin; not made again (--restore does)");
      break;
    case TNoteAction::Failed:
      TellCause(path + ": " + note.Failure);
      break;
    case TNoteAction::Unchanged:
      break;
  }
}

}  // namespace

int ReportDryRun(const TImportPlan& plan, bool topMissing, bool prune) {
  TImportSummary summary;
  summary.DryRun = true;
  if (topMissing)
    TellCause("would make the notebook for the folder");
  for (const TPlannedFolder& folder : plan.NewFolders)
    TellCause("would make the notebook " + folder.RelPath + "/");
  for (const TImportResource& upload : plan.Uploads)
    TellCause("would upload " + Kestrel::CommonLib::QuotedPath(upload.Path));
  for (const TPlannedNote& note : plan.Notes) {
    TellPlannedNote(note);
    switch (note.Action) {
      case TNoteAction::Create:
        ++summary.Created;
        break;
      case TNoteAction::Update:
        ++summary.Updated;
        break;
      case TNoteAction::Restore:
        ++summary.Restored;
        break;
      case TNoteAction::LeftDeleted:
        ++summary.LeftDeleted;
        break;
      case TNoteAction::Failed:
        ++summary.Failed;
        break;
      case TNoteAction::Unchanged:
        ++summary.Unchanged;
        break;
    }
  }
  if (prune) {
    for (const TGoneNote& gone : plan.Gone)
      TellCause("would move to the trash the note " + gone.Id + " of " + gone.RelPath);
    summary.Pruned = plan.Gone.size();
  } else {
    TellGone(plan);
    summary.Gone = plan.Gone.size();
  }
  summary.Uploaded = plan.Uploads.size();
  ReportImportSummary(summary);
  return summary.Failed == 0 ? kExitOk : kExitNotCreated;
}

void TellGone(const TImportPlan& plan) {
  for (const TGoneNote& gone : plan.Gone)
    TellCause(gone.RelPath + " is gone; its note " + gone.Id +
              " stays in Joplin (--prune moves it to the trash)");
}

int ReportImportDone(const TImportCounts& counts, const TImportPlan& plan, bool pruned) {
  TImportSummary summary;
  summary.Created = counts.Created;
  summary.Updated = counts.Updated;
  summary.Unchanged = counts.Unchanged;
  summary.Failed = counts.Failed;
  summary.Uploaded = counts.Uploaded;
  summary.Restored = counts.Restored;
  summary.Pruned = counts.Pruned;
  summary.LeftDeleted = counts.LeftDeleted;
  summary.Gone = pruned ? 0 : plan.Gone.size();
  ReportImportSummary(summary);
  return counts.Failed == 0 ? kExitOk : kExitNotCreated;
}

}  // namespace Quillpost
