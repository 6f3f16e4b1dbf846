#include "Platform/Files/FileWriting.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Platform/Files/FileDescriptor.hpp"
#include "Platform/Files/Files.hpp"

namespace Platform {

bool MakeDirectories(const std::string& path, std::string& failure) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      failure = part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos)
      break;
  }
  if (DirectoryExists(path))
    return true;
  failure = path + ": not a directory";
  return false;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& failure) {
  const std::string temporary = path + ".new";
  {
    const FileDescriptor file(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!file.Valid() || !WriteFully(file.Get(), bytes) || ::fsync(file.Get()) != 0) {
      failure = temporary + ": " + std::strerror(errno);
      ::unlink(temporary.c_str());
      return false;
    }
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    failure = path + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

struct AppendOnlyFile::Handle {
  FileDescriptor File;
};

AppendOnlyFile::AppendOnlyFile() = default;
AppendOnlyFile::~AppendOnlyFile() = default;
AppendOnlyFile::AppendOnlyFile(AppendOnlyFile&&) noexcept = default;
AppendOnlyFile& AppendOnlyFile::operator=(AppendOnlyFile&&) noexcept = default;

bool AppendOnlyFile::Open(const std::string& path, std::string& failure) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
  if (!file.Valid()) {
    failure = path + ": " + std::strerror(errno);
    return false;
  }
  FHandle = std::make_unique<Handle>(Handle{std::move(file)});
  return true;
}

bool AppendOnlyFile::Append(std::string_view record) {
  return FHandle && WriteFully(FHandle->File.Get(), record);
}

bool AppendOnlyFile::IsOpen() const {
  return FHandle != nullptr;
}

std::string UserStateDirectory() {
  const std::string stateHome = GetEnv("XDG_STATE_HOME");
  return stateHome.empty() ? HomeDirectory() + "/.local/state" : stateHome;
}

std::string UserCacheDirectory() {
  const std::string cacheHome = GetEnv("XDG_CACHE_HOME");
  return cacheHome.empty() ? HomeDirectory() + "/.cache" : cacheHome;
}

}  // namespace Platform
