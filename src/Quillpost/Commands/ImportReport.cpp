#include "Quillpost/Commands/ImportReport.hpp"

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"

namespace Quillpost {
namespace {

using namespace JoplinRestUtils;
using Kestrel::CommonLib::TellCause;

// The line of a planned note, counted as what it would be.
void TellAndCount(const TPlannedNote& note, TImportCounts& counts) {
  const std::string& path = note.File->RelPath;
  switch (note.Action) {
    case TNoteAction::Create:
      ++counts.Created;
      TellCause("would create " + path);
      break;
    case TNoteAction::Update:
      ++counts.Updated;
      TellCause("would update " + path + " (note " + note.Id + ")");
      break;
    case TNoteAction::Restore:
      ++counts.Restored;
      TellCause("would restore " + path + " (note " + note.Id + ")");
      break;
    case TNoteAction::LeftDeleted:
      ++counts.LeftDeleted;
      TellCause(LeftDeletedLine(note));
      break;
    case TNoteAction::Failed:
      ++counts.Failed;
      TellCause(path + ": " + note.Failure);
      break;
    case TNoteAction::Unchanged:
      ++counts.Unchanged;
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
  for (const TPlannedNote& note : plan.Notes)
    TellAndCount(note, summary.Counts);
  if (prune) {
    for (const TGoneNote& gone : plan.Gone)
      TellCause("would move to the trash the note " + gone.Id + " of " + gone.RelPath);
    summary.Counts.Pruned = plan.Gone.size();
  } else {
    TellGone(plan);
    summary.Gone = plan.Gone.size();
  }
  summary.Counts.Uploaded = plan.Uploads.size();
  ReportImportSummary(summary);
  return summary.Counts.Failed == 0 ? kExitOk : kExitNotCreated;
}

void TellGone(const TImportPlan& plan) {
  for (const TGoneNote& gone : plan.Gone)
    TellCause(gone.RelPath + " is gone; its note " + gone.Id +
              " stays in Joplin (--prune moves it to the trash)");
}

int ReportImportDone(const TImportCounts& counts, const TImportPlan& plan, bool pruned) {
  TImportSummary summary;
  summary.Counts = counts;
  summary.Gone = pruned ? 0 : plan.Gone.size();
  ReportImportSummary(summary);
  return counts.Failed == 0 ? kExitOk : kExitNotCreated;
}

}  // namespace Quillpost
