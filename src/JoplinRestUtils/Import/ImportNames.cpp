#include "JoplinRestUtils/Import/ImportNames.hpp"

#include <type_traits>

#include "JoplinRestUtils/Import/ImportIds.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/Sha256.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

// "a/b/Name.md" → "a/b/name"
std::string NameWithoutNoteExtension(std::string_view relPath) {
  const std::string_view ext = Kestrel::CommonLib::ExtractFileExt(relPath);
  if (!ext.empty() && NoteMarkupOf(std::string(ext)) != 0)
    relPath.remove_suffix(ext.size());
  return Platform::AsciiLowerCase(relPath);
}

std::string_view LastPart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

TImportNames::TImportNames(const TImportTree& tree, std::string targetKey, std::string targetId,
                           std::string legacyKey, const TImportJournal* journal)
    : FTree(tree),
      FTargetKey(std::move(targetKey)),
      FTargetId(std::move(targetId)),
      FLegacyKey(std::move(legacyKey)),
      FJournal(journal) {
  for (size_t i = 0; i < tree.Notes.size(); ++i) {
    const TTreeNote& note = tree.Notes[i];
    FByPath.emplace(note.Path, i);
    FByPath.emplace(note.Resolved, i);
    const std::string rel = NameWithoutNoteExtension(note.RelPath);
    FByRelName.emplace(rel, i);
    FByBaseName[std::string(LastPart(rel))].push_back(i);
  }
}

namespace {

template <typename Map>
const std::string* Recorded(const TImportJournal* journal, const Map TImportJournal::*map,
                            const std::string& key) {
  if (journal == nullptr)
    return nullptr;
  const auto found = (journal->*map).find(key);
  if (found == (journal->*map).end())
    return nullptr;
  if constexpr (std::is_same_v<typename Map::mapped_type, std::string>)
    return &found->second;
  else
    return &found->second.Id;
}

}  // namespace

std::string TImportNames::IdOf(TImportItem item, const std::string& key,
                               const std::string* recorded) const {
  if (recorded != nullptr && !FLegacyKey.empty() && *recorded == ImportId(item, FLegacyKey, key))
    return *recorded;
  return ImportId(item, FTargetKey, key);
}

std::string TImportNames::NoteId(const std::string& relPath) const {
  return IdOf(TImportItem::Note, relPath, Recorded(FJournal, &TImportJournal::Notes, relPath));
}

std::string TImportNames::FolderId(const std::string& relFolder) const {
  if (relFolder.empty())
    return FTargetId;
  return IdOf(TImportItem::Folder, relFolder,
              Recorded(FJournal, &TImportJournal::Folders, relFolder));
}

std::string TImportNames::ResourceId(const std::string& contentHash) const {
  return IdOf(TImportItem::Resource, contentHash,
              Recorded(FJournal, &TImportJournal::Resources, contentHash));
}

bool TImportNames::IsOwnNoteId(const std::string& relPath, const std::string& id) const {
  return id == ImportId(TImportItem::Note, FTargetKey, relPath) ||
         (!FLegacyKey.empty() && id == ImportId(TImportItem::Note, FLegacyKey, relPath));
}

const TTreeNote* TImportNames::NoteAtPath(const std::string& path) const {
  auto found = FByPath.find(path);
  // Only a note file's name can lead to a note by another way (a link).
  if (found == FByPath.end() && NoteMarkupOf(path) != 0)
    found = FByPath.find(Platform::ResolvedPath(path));
  return found == FByPath.end() ? nullptr : &FTree.Notes[found->second];
}

const TTreeNote* TImportNames::NoteByWikiName(std::string_view name, bool& ambiguous) const {
  ambiguous = false;
  const std::string wanted = NameWithoutNoteExtension(name);
  if (const auto exact = FByRelName.find(wanted); exact != FByRelName.end())
    return &FTree.Notes[exact->second];
  const auto byName = FByBaseName.find(std::string(LastPart(wanted)));
  if (byName == FByBaseName.end())
    return nullptr;
  const TTreeNote* best = nullptr;
  for (const size_t i : byName->second) {
    const TTreeNote& note = FTree.Notes[i];
    const std::string rel = NameWithoutNoteExtension(note.RelPath);
    // "b/name" names "a/b/name", not "a/xb/name".
    if (rel.size() > wanted.size() &&
        (rel.compare(rel.size() - wanted.size(), wanted.size(), wanted) != 0 ||
         rel[rel.size() - wanted.size() - 1] != '/'))
      continue;
    if (!best || note.RelPath.size() < best->RelPath.size()) {
      best = &note;
      ambiguous = false;
    } else if (note.RelPath.size() == best->RelPath.size()) {
      ambiguous = true;
    }
  }
  return best;
}

TLinkedFiles::TLinkedFiles(const std::unordered_map<std::string, TJournalStamp>& known,
                           const TLocalFilePolicy& policy)
    : FKnown(known), FJudge(policy) {}

TLocalFileVerdict TLinkedFiles::Verdict(const std::string& path) {
  const auto known = FVerdicts.find(path);
  if (known != FVerdicts.end())
    return known->second;
  return FVerdicts.emplace(path, FJudge.Judge(path)).first->second;
}

std::optional<std::string> TLinkedFiles::HashOf(const std::string& path) {
  if (const auto seen = FSeen.find(path); seen != FSeen.end())
    return seen->second.ContentHash;
  TJournalStamp stamp;
  if (!Platform::ReadFileStamp(path, stamp.Stamp))
    return std::nullopt;
  const auto known = FKnown.find(path);
  if (known != FKnown.end() && known->second.Stamp == stamp.Stamp) {
    stamp.ContentHash = known->second.ContentHash;
  } else {
    std::optional<std::string> hash = Kestrel::CommonLib::Sha256HexOfFile(path);
    if (!hash)
      return std::nullopt;
    stamp.ContentHash = std::move(*hash);
  }
  return FSeen.emplace(path, std::move(stamp)).first->second.ContentHash;
}

}  // namespace JoplinRestUtils
