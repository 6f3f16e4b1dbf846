#pragma once
// The entries of one directory, and a file's size and modification instant
// as a cheap sign that it changed.
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

enum class EntryKind { File, Directory, Other };

struct DirectoryEntry {
  std::string Name;
  EntryKind Kind = EntryKind::Other;  // of what a symbolic link points at
  bool SymbolicLink = false;
};

// The entries but "." and "..", in no particular order; false with `failure`
// saying why when the directory cannot be read. A dangling link is Other.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries,
                   std::string& failure);

struct FileStamp {
  std::uint64_t Size = 0;
  std::int64_t ModifiedNanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};

// False when the path names no regular file.
bool ReadFileStamp(const std::string& path, FileStamp& stamp);

}  // namespace Platform
