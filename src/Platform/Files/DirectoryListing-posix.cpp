#include "Platform/Files/DirectoryListing.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace Platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirOwner = std::unique_ptr<DIR, DirCloser>;

EntryKind KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode))
    return EntryKind::File;
  return S_ISDIR(info.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

}  // namespace

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries,
                   std::string& failure) {
  const DirOwner dir(::opendir(path.c_str()));
  if (!dir) {
    failure = std::strerror(errno);
    return false;
  }
  entries.clear();
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    const std::string full = path + "/" + name;
    struct stat linkInfo {};
    if (::lstat(full.c_str(), &linkInfo) != 0)
      continue;
    DirectoryEntry found{name, KindOf(linkInfo), S_ISLNK(linkInfo.st_mode)};
    struct stat info {};
    if (found.SymbolicLink)
      found.Kind = ::stat(full.c_str(), &info) == 0 ? KindOf(info) : EntryKind::Other;
    entries.push_back(std::move(found));
  }
  return true;
}

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  stamp.Size = static_cast<std::uint64_t>(info.st_size);
  stamp.ModifiedNanoseconds =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

}  // namespace Platform
