#pragma once
// The folder tree an import brings in: its notebooks (the subfolders) and its
// notes (Markdown and HTML files), found without reading any file.
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

// The folder to import cannot be read.
class EImportTreeError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EImportTreeError"; }
};

struct TTreeNote {
  std::string RelPath;   // from the root, "/" between parts on every system
  std::string Path;      // the file's full path
  std::string Resolved;  // with symbolic links resolved
  std::string Folder;    // RelPath of its folder; empty at the root
  std::int32_t Markup = 1;
};

struct TImportTree {
  std::string Root;                  // with symbolic links resolved
  std::vector<std::string> Folders;  // RelPaths, each after its parent
  std::vector<TTreeNote> Notes;      // in RelPath order
  std::vector<std::string> Warnings;
};

// The markup of a note file by its extension (.md, .markdown, .txt:
// Markdown; .html, .htm: HTML); 0 for a file that is no note.
std::int32_t NoteMarkupOf(const std::string& name);

// Walks `dir`: hidden entries (a leading dot) are skipped, and symbolic links
// are followed only where they stay inside the tree and do not lead back into
// a folder already walked (a warning names each link left out).
TImportTree ScanImportTree(const std::string& dir);

// The folder of a tree path ("a/b" of "a/b/c.md"); empty at the top.
std::string TreeParent(const std::string& relPath);

// A tree path joined to the root with the system's delimiter.
std::string TreeFilePath(const std::string& root, const std::string& relPath);

}  // namespace JoplinRestUtils
