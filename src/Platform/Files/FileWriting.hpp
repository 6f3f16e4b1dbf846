#pragma once
// Writing files that must survive an interruption: a whole file replaced at
// once (the old one or the new one is there, never a part), and a log that
// grows by whole records.
#include <string>
#include <string_view>

#include <memory>

namespace Platform {

// Creates the directory and its missing parents (mode 700 on Linux).
bool MakeDirectories(const std::string& path, std::string& failure);

// Writes the bytes to a file beside `path`, flushes them to the disk, and
// renames it over `path`.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& failure);

// A file opened for appending (created, mode 600 on Linux); each Append is
// one write, so a record is never interleaved with another process's.
class AppendOnlyFile {
 public:
  AppendOnlyFile();
  ~AppendOnlyFile();
  AppendOnlyFile(AppendOnlyFile&&) noexcept;
  AppendOnlyFile& operator=(AppendOnlyFile&&) noexcept;

  bool Open(const std::string& path, std::string& failure);
  bool Append(std::string_view record);
  bool IsOpen() const;

 private:
  struct Handle;  // the system's file handle, in its own owner
  std::unique_ptr<Handle> FHandle;
};

// Where the user's programs keep state between runs ($XDG_STATE_HOME, else
// ~/.local/state; %LOCALAPPDATA% on Windows).
std::string UserStateDirectory();
// Where they keep caches ($XDG_CACHE_HOME, else ~/.cache; %LOCALAPPDATA% on
// Windows).
std::string UserCacheDirectory();

}  // namespace Platform
