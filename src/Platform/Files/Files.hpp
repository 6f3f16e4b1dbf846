#pragma once
// File-system queries and whole-file reads. Paths are byte strings used as
// they are; nothing here throws.
#include <cstdint>
#include <optional>
#include <string>

namespace Platform {

// True for a regular file, following symbolic links; a directory is no file.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// True when anything at all is at the path (a file, a directory, a FIFO...).
bool PathExists(const std::string& path);

// Which kinds of file a whole-file read takes: regular files only (settings),
// or also streams (a pipe, a FIFO, a character device other than a terminal),
// read to their end as `cat` reads them (a body).
enum class FileKinds { RegularOnly, AlsoStreams };

// Reads the whole file into `bytes`, to its end whatever size it reports (files
// in /proc say 0); false (and `bytes` untouched) when the file cannot be
// opened or read, is of a kind not taken, or holds `maxSize` bytes or more.
// `failure` then says why ("No such file or directory", "is a directory").
// RegularOnly refuses a FIFO without waiting for a writer; AlsoStreams waits
// for one, as `cat` does. `growthRoom` reserves that much capacity for every
// byte of a regular file, so that the text can grow in place later: pages
// reserved but never written cost no memory. Windows reads disk files only.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize,
                   std::string& failure, unsigned growthRoom = 0,
                   FileKinds kinds = FileKinds::RegularOnly);
bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize = UINT64_MAX);

// Which file a path names, whatever the path: its device and its number there
// (inode; volume serial number and file index on Windows), so that a hard
// link or a symbolic link to a file is known as that file.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Index = 0;
  bool operator==(const FileIdentity&) const = default;
};
// Nothing when the path names no file.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// The size of a regular file; false when the path names none.
bool FileSize(const std::string& path, std::uint64_t& size);

// The absolute path with every symbolic link, "." and ".." resolved, as the
// system finds the file; empty when the path names nothing.
std::string ResolvedPath(const std::string& path);

// True for a file that its group or other users may read or write.
bool OpenToOthers(const std::string& path);

// The process's working directory; empty when it cannot be read.
std::string CurrentDirectory();

// The running executable's full path (/proc/self/exe).
std::string ExecutablePath();

// The user's home directory ($HOME; %USERPROFILE% on Windows), where Joplin
// keeps its profile under ".config".
std::string HomeDirectory();
// Where the user's programs keep their settings ($XDG_CONFIG_HOME, else
// ~/.config; %APPDATA% on Windows).
std::string UserConfigDirectory();
// The environment variable's value, or empty when unset.
std::string GetEnv(const char* name);

}  // namespace Platform
