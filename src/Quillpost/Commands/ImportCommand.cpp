#include "Quillpost/Commands/ImportCommand.hpp"

#include <algorithm>

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/Import/ImportIds.hpp"
#include "JoplinRestUtils/Import/ImportSending.hpp"
#include "JoplinRestUtils/Import/ImportServerState.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Console/Console.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "Quillpost/Commands/ImportReport.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

using namespace JoplinRestUtils;
using Kestrel::CommonLib::TParamList;

struct TImportRun {
  std::string Dir;
  bool DryRun = false;
  bool Prune = false;
  std::string Notebook;  // "/N"; empty: a new notebook named after the folder
  bool CreateNotebook = false;
  TImportSettings Settings;
};

// The switches that shape a single note are refused rather than ignored: an
// import takes only those of the table that say so.
void RefuseNoteSwitches(const TParamList& params) {
  for (const TSwitchSpec& spec : KnownSwitchTable()) {
    if (spec.WithImport || (spec.Kind != TSwitchKind::Flag && spec.Kind != TSwitchKind::Value &&
                            spec.Kind != TSwitchKind::List))
      continue;
    if (FindSwitch(params, spec.Name))
      throw ECommandLineError(std::string(spec.Name) + " cannot be used with --import");
  }
}

TImportRun ReadImportSwitches(const TArguments& args, const TSettings& settings) {
  const TParamList& params = args.Text;
  RefuseNoteSwitches(params);
  TImportRun run;
  if (!SwitchValue(args.Paths, "--import", run.Dir) || run.Dir.empty())
    throw ECommandLineError("--import needs the folder to import");
  run.DryRun = FindSwitch(params, "--dry-run");
  run.Prune = FindSwitch(params, "--prune");
  run.Settings.RestoreDeleted = FindSwitch(params, "--restore");
  SwitchValue(params, "N", run.Notebook);
  run.CreateNotebook = FindSwitch(params, "NC");
  const Kestrel::CommonLib::TStringList tags = SwitchValuesThenList(params, "T", "TT");
  run.Settings.Tags = tags.Lines();
  run.Settings.FrontMatter = !FindSwitch(params, "NoFrontMatter");
  run.Settings.AllowMany = FindSwitch(params, "AllowMany");
  run.Settings.LocalFiles.Never = settings.Files;
  run.Settings.LocalFiles.NeverUnder = settings.Folders;
  if (run.Settings.AllowMany) {
    run.Settings.LocalFiles.MaxFiles = 0;
    run.Settings.LocalFiles.MaxBytes = 0;
  }
  return run;
}

// The notebook the tree goes into, and the key its ids derive from: "/N"'s
// notebook, or one of the folder's name made for it.
struct TTarget {
  std::string Key;
  std::string Id;
  std::string LegacyKey;  // the key of earlier versions' ids, where it differs
};

// False when the server did not answer.
bool FindTarget(TJoplinRest& client, const TImportRun& run, const std::string& root,
                TTarget& target) {
  if (run.Notebook.empty()) {
    target.Key = "folder:" + root;
    target.Id = ImportId(TImportItem::Folder, target.Key, "");
    return true;
  }
  try {
    if (!client.ResolveNotebook(run.Notebook, run.CreateNotebook && !run.DryRun, target.Id))
      return false;
  } catch (const ENotebookNotFound&) {
    // A dry run makes nothing: the notebook that "/NC" would make is new,
    // and stands in the plan under an id of its own that no notebook has.
    if (!run.DryRun || !run.CreateNotebook)
      throw;
    target.Key = "new:" + run.Notebook;
    target.Id = ImportId(TImportItem::Folder, target.Key, "");
    target.Key += "\ntree:" + root;
    return true;
  }
  // The tree is part of every id: two trees imported into one notebook never
  // share a note. Earlier versions derived the ids from the notebook alone.
  target.LegacyKey = target.Id;
  target.Key = target.Id + "\ntree:" + root;
  return true;
}

void TellAll(const std::vector<std::string>& lines, bool warnings) {
  for (const auto& line : lines) {
    if (warnings)
      Kestrel::CommonLib::Warn(line);
    else
      Kestrel::CommonLib::TellCause(line);
  }
}

// The journal as it stands, or, when it belongs to another notebook (the
// target was made anew), none.
TImportJournal LoadJournal(const std::string& path, const TTarget& target) {
  TImportJournal journal = TJournalFile::Load(path);
  if (journal.Found && !journal.TargetId.empty() && journal.TargetId != target.Id) {
    Kestrel::CommonLib::Warn(
        "the notebook of the last import is another one now; the folder is "
        "imported into the new one afresh");
    return {};
  }
  return journal;
}

int Refused(const std::string& cause) {
  ReportFailure("Import failed.", "EImportFailed", cause);
  Kestrel::CommonLib::TellCause(cause);
  return kExitNotCreated;
}

}  // namespace

int RunImport(const TArguments& args, const TSettings& settings) {
  TImportRun run = ReadImportSwitches(args, settings);
  const TImportTree tree = ScanImportTree(run.Dir);
  TellAll(tree.Warnings, true);
  if (!FindSwitch(args.Text, "AllowOutside"))
    run.Settings.LocalFiles.Folder = tree.Root;

  TJoplinRest client(settings.Token.Value, settings.Url.Value, RunLimits());
  TTarget target;
  if (!FindTarget(client, run, tree.Root, target))
    return Refused(client.LastFailure());
  const std::string journalPath = JournalPathFor(settings.Url.Value, tree.Root, run.Notebook);
  TImportJournal journal = LoadJournal(journalPath, target);
  const TImportNames names(tree, target.Key, target.Id, target.LegacyKey, &journal);
  TServerState state;
  std::vector<std::string> notices;
  if (!ReadServerState(client, names, journal, state, notices))
    return Refused(client.LastFailure());
  TellAll(notices, false);
  TLinkedFiles files(journal.Stamps, run.Settings.LocalFiles);
  const TImportPlan plan = PlanImport(names, journal, state, run.Settings, files);
  TellAll(plan.Warnings, true);
  const bool topMissing = state.Folders.count(target.Id) == 0;
  if (run.DryRun)
    return ReportDryRun(plan, topMissing, run.Prune);

  if (topMissing) {
    const TRequestOutcome made = TImportRequests(client).CreateNotebookWithId(
        target.Id, Kestrel::CommonLib::DisplayFileName(tree.Root), "");
    if (!made.Succeeded())
      return Refused("the notebook for " + Kestrel::CommonLib::QuotedPath(tree.Root) +
                     " was not created (" + made.Failure + ")");
  }
  journal.TargetId = target.Id;
  journal.Stamps = files.Seen();
  TJournalFile journalFile;
  journalFile.Begin(journalPath, journal);

  TImportSender sender(client, names, run.Settings, files, journal, journalFile);
  Platform::ProgressLine progress("importing");
  const size_t toSend = plan.NotesToSend();
  const bool answering = sender.Send(plan, [&](size_t notes, std::uint64_t bytes) {
    progress.Update(notes, toSend, "notes", bytes, plan.BytesToSend);
  });
  if (!answering)
    Kestrel::CommonLib::TellCause(
        "the server stopped answering: the files not sent count as failed, and running the "
        "import again sends them");
  if (answering && run.Prune)
    sender.Prune(plan);
  else
    TellGone(plan);
  if (answering)
    sender.RecordCursor();
  return ReportImportDone(sender.Counts(), plan, answering && run.Prune);
}

}  // namespace Quillpost
