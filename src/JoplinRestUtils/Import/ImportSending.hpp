#pragma once
// Carries out an import plan through the Data API: notebooks, then each note
// with the contents it links to, each note recorded in the journal as soon as
// the server has it; then the notes of files that are gone.
#include <cstdint>
#include <functional>
#include <string>

#include "JoplinRestUtils/Import/ImportPlan.hpp"
#include "JoplinRestUtils/Import/ImportRequests.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"

namespace JoplinRestUtils {

struct TImportCounts {
  size_t Created = 0;
  size_t Updated = 0;
  size_t Unchanged = 0;
  size_t Failed = 0;
  size_t Uploaded = 0;
  size_t Restored = 0;
  size_t Pruned = 0;
  size_t LeftDeleted = 0;  // deleted in Joplin, not made again
};

// Called after each note sent: notes and bytes done so far.
using TImportProgress = std::function<void(size_t notes, std::uint64_t bytes)>;

class TImportSender {
 public:
  TImportSender(TJoplinRest& client, const TImportNames& names, const TImportSettings& settings,
                TLinkedFiles& files, TImportJournal& journal, TJournalFile& journalFile);

  // False when the server stopped answering: nothing more is tried, and
  // every note not sent counts as failed.
  bool Send(const TImportPlan& plan, const TImportProgress& progress);
  // Moves the notes of files that are gone to Joplin's trash.
  void Prune(const TImportPlan& plan);
  // Keeps the server's latest event cursor, from which the next run reads
  // what the user changed.
  void RecordCursor();

  const TImportCounts& Counts() const { return FCounts; }

 private:
  bool MakeFolders(const TImportPlan& plan);
  bool SendNote(const TPlannedNote& planned);
  bool UploadResources(const TTreeNote& file, const TImportNote& note);
  // POST of the note with the id chosen and an empty body.
  bool MakeWithoutBody(const std::string& id, const TImportNote& note);
  bool Create(TImportNote& note);
  bool Update(const TPlannedNote& planned, TImportNote& note);
  bool Restore(const TPlannedNote& planned, TImportNote& note);
  // A note to change that the user deleted without the events telling:
  // made again with --restore, else named. False when it was not that.
  bool DeletedMeanwhile(const TPlannedNote& planned, TImportNote& note);
  void TellLeftDeleted(const TPlannedNote& planned);
  // The note's failure on standard error; false when the server is gone.
  bool Fail(const std::string& relPath, const std::string& cause);
  bool ServerGone() const;
  // Whether the server holds the id already (an answer lost earlier).
  bool HasItem(std::string_view kind, const std::string& id);
  // Whether the note's request succeeded; FCause says why not.
  bool Sent(const TRequestOutcome& outcome);

  TJoplinRest& FClient;
  TImportRequests FRequests;
  const TImportNames& FNames;
  const TImportSettings& FSettings;
  TLinkedFiles& FFiles;
  TImportJournal& FJournal;
  TJournalFile& FJournalFile;
  std::unordered_set<std::string> FFailedFolders;
  std::string FCause;    // why the last note was not taken
  long FLastStatus = 0;  // of the last update: 404 when the note is gone
  TImportCounts FCounts;
};

}  // namespace JoplinRestUtils
