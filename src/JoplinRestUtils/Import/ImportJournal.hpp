#pragma once
// What earlier imports of one tree into one notebook made: the notebook of
// each folder, the note of each file with the digest of what was sent, and
// the resource of each content uploaded. Kept as a log of records in the
// user's state folder: the whole state is written anew at the start of a
// run, and each note done is one appended record, so that a run cut off at
// any point leaves a journal that the next run reads whole.
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/DirectoryListing.hpp"
#include "Platform/Files/FileWriting.hpp"

namespace JoplinRestUtils {

inline constexpr int kJournalVersion = 1;

// A journal that cannot be read or written.
class EImportJournalError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EImportJournalError"; }
};

// A note that the user deleted in Joplin, as the last run found it.
enum class TDeletedInJoplin { No, Trashed, Erased };

struct TJournalNote {
  std::string Id;
  std::string Digest;  // of the note as last sent
  TDeletedInJoplin Deleted = TDeletedInJoplin::No;
};

struct TJournalStamp {
  Platform::FileStamp Stamp;
  std::string ContentHash;
};

struct TImportJournal {
  bool Found = false;    // read from a file, not begun afresh
  std::string TargetId;  // the notebook the tree goes into
  std::string Cursor;    // of the server's change events, when the last run ended
  std::map<std::string, std::string> Folders;              // tree path: notebook id
  std::map<std::string, TJournalNote> Notes;               // tree path: note
  std::unordered_map<std::string, std::string> Resources;  // content hash: resource id
  std::unordered_map<std::string, TJournalStamp> Stamps;   // file path: last content seen
};

// The kinds of record, each one letter at the start of its line.
enum class TJournalRecord : char {
  Target = 'T',
  Cursor = 'E',
  Folder = 'F',
  Note = 'N',
  Forget = 'X',
  DeletedInJoplin = 'D',
  Resource = 'R',
  Stamp = 'S',
};

// "trashed" or "erased", as a record writes it.
std::string DeletedName(TDeletedInJoplin deleted);

// Applies one record's fields; false for a record of the wrong shape.
bool ApplyJournalRecord(TImportJournal& journal, TJournalRecord kind,
                        const std::vector<std::string>& fields);
// The journal as one text of records, the version line first.
std::string JournalText(const TImportJournal& journal);
// Reads a journal text; a last record cut off is left out. Throws
// EImportJournalError for a text of another version or no journal at all.
TImportJournal ParseJournal(std::string_view text, const std::string& source);

// The journal's file for one server, tree and target, in the state folder.
std::string JournalPathFor(const std::string& serverUrl, const std::string& treeRoot,
                           const std::string& target);

// The journal on disk while a run changes it.
class TJournalFile {
 public:
  // Reads the journal at `path`; one that is not there begins empty.
  static TImportJournal Load(const std::string& path);
  // Writes the whole journal anew and opens it for records; throws
  // EImportJournalError when it cannot.
  void Begin(const std::string& path, const TImportJournal& journal);
  // Applies the record to `journal` and appends it; throws EImportJournalError
  // when the disk refuses it (the run must stop: what follows would be lost).
  void Record(TImportJournal& journal, TJournalRecord kind, std::vector<std::string> fields);

 private:
  std::string FPath;
  Platform::AppendOnlyFile FFile;
};

}  // namespace JoplinRestUtils
