#pragma once
// How the notes of one import find each other and their files: the id of
// each notebook, note and content, and the note that a link or a wiki link
// names.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Import/ImportIds.hpp"
#include "JoplinRestUtils/Import/ImportJournal.hpp"
#include "JoplinRestUtils/Import/ImportTree.hpp"
#include "JoplinRestUtils/LocalFilePolicy.hpp"

namespace JoplinRestUtils {

class TImportNames {
 public:
  // `targetKey` names the target and the tree for the ids; `targetId` is
  // the notebook that the tree's top goes into. `legacyKey` (may be empty)
  // is the key that earlier versions derived the same target's ids from,
  // without the tree: the ids of `journal` derived from it are kept, so that
  // an earlier import goes on updating its notes.
  TImportNames(const TImportTree& tree, std::string targetKey, std::string targetId,
               std::string legacyKey = {}, const TImportJournal* journal = nullptr);

  const TImportTree& Tree() const { return FTree; }
  const std::string& TargetId() const { return FTargetId; }
  std::string NoteId(const std::string& relPath) const;
  // The notebook of a folder of the tree; the target for the top.
  std::string FolderId(const std::string& relFolder) const;
  std::string ResourceId(const std::string& contentHash) const;
  // Whether `id` is one this import derives for the note at `relPath`, as it
  // does now or as it did with the legacy key: a journal's record of any
  // other id is not acted on.
  bool IsOwnNoteId(const std::string& relPath, const std::string& id) const;

  // The note of the tree at a path (as the tree names it, or through a
  // symbolic link); null for none.
  const TTreeNote* NoteAtPath(const std::string& path) const;
  // The note a wiki link names: its path from the root without extension,
  // or its file name alone (any extension of a note, ASCII case ignored).
  // Of several, the one with the shortest path; `ambiguous` then set.
  const TTreeNote* NoteByWikiName(std::string_view name, bool& ambiguous) const;

 private:
  // The id derived for `key`, or the journal's when it is the legacy one.
  std::string IdOf(TImportItem item, const std::string& key, const std::string* recorded) const;

  const TImportTree& FTree;
  std::string FTargetKey;
  std::string FTargetId;
  std::string FLegacyKey;
  const TImportJournal* FJournal;
  std::unordered_map<std::string, size_t> FByPath;     // resolved path
  std::unordered_map<std::string, size_t> FByRelName;  // lower-case, no extension
  std::unordered_map<std::string, std::vector<size_t>> FByBaseName;
};

// The files that notes link to, each looked at once a run: whether the
// policy lets it be sent, and its content hash (a file whose size and time
// match the journal's stamp is not read again).
class TLinkedFiles {
 public:
  TLinkedFiles(const std::unordered_map<std::string, TJournalStamp>& known,
               const TLocalFilePolicy& policy);
  TLocalFileVerdict Verdict(const std::string& path);
  // Nothing for a file that cannot be read.
  std::optional<std::string> HashOf(const std::string& path);
  const std::unordered_map<std::string, TJournalStamp>& Seen() const { return FSeen; }

 private:
  const std::unordered_map<std::string, TJournalStamp>& FKnown;
  const TLocalFileJudge FJudge;
  std::unordered_map<std::string, TLocalFileVerdict> FVerdicts;
  std::unordered_map<std::string, TJournalStamp> FSeen;
};

}  // namespace JoplinRestUtils
