#include "JoplinRestUtils/Import/ImportTree.hpp"

#include <algorithm>
#include <unordered_set>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/DirectoryListing.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/PathRules.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

std::string JoinRel(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

class TTreeWalk {
 public:
  explicit TTreeWalk(TImportTree& tree) : FTree(tree) { FWalked.insert(tree.Root); }

  // Linked folders come after every real one, so that a link to a folder of
  // the tree is the one left out, whatever the names' order.
  void WalkAll() {
    Walk("", false);
    for (size_t i = 0; i < FLinkedFolders.size(); ++i) {
      const auto [rel, entry] = FLinkedFolders[i];
      if (!FollowLink(rel, entry))
        continue;
      FTree.Folders.push_back(rel);
      Walk(rel, true);
    }
  }

  // `linked`: a symbolic link lies on the way from the root, so that a path
  // in the tree is not where the file is.
  void Walk(const std::string& relFolder, bool linked) {
    std::vector<Platform::DirectoryEntry> entries;
    std::string failure;
    const std::string folderPath = TreeFilePath(FTree.Root, relFolder);
    if (!Platform::ListDirectory(folderPath, entries, failure)) {
      if (relFolder.empty())
        throw EImportTreeError(Kestrel::CommonLib::QuotedPath(FTree.Root) +
                               " cannot be read: " + failure);
      FTree.Warnings.push_back("the folder " + Kestrel::CommonLib::QuotedPath(folderPath) +
                               " cannot be read (" + failure + "); skipped");
      return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.Name < b.Name; });
    for (const auto& entry : entries) {
      if (entry.Name.empty() || entry.Name[0] == '.')
        continue;
      const std::string rel = JoinRel(relFolder, entry.Name);
      if (entry.SymbolicLink && entry.Kind == Platform::EntryKind::Directory) {
        FLinkedFolders.push_back({rel, entry});
        continue;
      }
      if (entry.SymbolicLink && !FollowLink(rel, entry))
        continue;
      const std::string path = TreeFilePath(FTree.Root, rel);
      const bool resolve = linked || entry.SymbolicLink;
      if (entry.Kind == Platform::EntryKind::Directory) {
        FWalked.insert(resolve ? Platform::ResolvedPath(path) : path);
        FTree.Folders.push_back(rel);
        Walk(rel, linked);
      } else if (entry.Kind == Platform::EntryKind::File) {
        if (const std::int32_t markup = NoteMarkupOf(entry.Name))
          FTree.Notes.push_back(
              {rel, path, resolve ? Platform::ResolvedPath(path) : path, relFolder, markup});
      }
    }
  }

 private:
  // A link is followed when what it leads to lies in the tree, and, for a
  // folder, when that folder is walked nowhere else (no loop, no twin).
  bool FollowLink(const std::string& rel, const Platform::DirectoryEntry& entry) {
    const std::string path = TreeFilePath(FTree.Root, rel);
    const std::string target = Platform::ResolvedPath(path);
    // The root itself is inside: a link to it is a loop, told as such below.
    if (target != FTree.Root && !Kestrel::CommonLib::LiesUnder(target, FTree.Root)) {
      if (entry.Kind == Platform::EntryKind::Directory || NoteMarkupOf(entry.Name))
        FTree.Warnings.push_back("the symbolic link " + Kestrel::CommonLib::QuotedPath(path) +
                                 " leads out of the folder; skipped");
      return false;
    }
    if (entry.Kind == Platform::EntryKind::Directory && !FWalked.insert(target).second) {
      FTree.Warnings.push_back("the symbolic link " + Kestrel::CommonLib::QuotedPath(path) +
                               " leads to a folder that is imported already; skipped");
      return false;
    }
    return true;
  }

  TImportTree& FTree;
  std::unordered_set<std::string> FWalked;
  std::vector<std::pair<std::string, Platform::DirectoryEntry>> FLinkedFolders;
};

// A folder of images alone becomes no notebook: only those that hold a note,
// or whose subfolders do, stay.
void KeepFoldersWithNotes(TImportTree& tree) {
  std::unordered_set<std::string> needed;
  for (const TTreeNote& note : tree.Notes) {
    for (std::string folder = note.Folder; !folder.empty() && needed.insert(folder).second;)
      folder = TreeParent(folder);
  }
  std::erase_if(tree.Folders, [&](const std::string& folder) { return needed.count(folder) == 0; });
  std::sort(tree.Folders.begin(), tree.Folders.end());
}

}  // namespace

std::int32_t NoteMarkupOf(const std::string& name) {
  std::string ext(Kestrel::CommonLib::ExtractFileExt(name));
  for (char& c : ext)
    c = Platform::AsciiLower(c);
  if (ext == ".md" || ext == ".markdown" || ext == ".txt")
    return 1;
  if (ext == ".html" || ext == ".htm")
    return 2;
  return 0;
}

std::string TreeParent(const std::string& relPath) {
  const size_t slash = relPath.rfind('/');
  return slash == std::string::npos ? std::string() : relPath.substr(0, slash);
}

std::string TreeFilePath(const std::string& root, const std::string& relPath) {
  if (relPath.empty())
    return root;
  std::string path = root;
  if (!Platform::EndsDirectoryPart(path.back()))
    path += Platform::PathDelimiter();
  for (const char c : relPath)
    path += c == '/' ? Platform::PathDelimiter() : c;
  return path;
}

TImportTree ScanImportTree(const std::string& dir) {
  TImportTree tree;
  tree.Root = Platform::ResolvedPath(dir);
  if (tree.Root.empty() || !Platform::DirectoryExists(tree.Root))
    throw EImportTreeError(Kestrel::CommonLib::QuotedPath(dir) + " is no folder");
  TTreeWalk(tree).WalkAll();
  KeepFoldersWithNotes(tree);
  std::sort(tree.Notes.begin(), tree.Notes.end(),
            [](const auto& a, const auto& b) { return a.RelPath < b.RelPath; });
  return tree;
}

}  // namespace JoplinRestUtils
