#include "Platform/Files/Files.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/FileDescriptor.hpp"
#include "Platform/Files/GrowthRoom.hpp"

namespace Platform {

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

namespace {

// A large buffer filled at once takes a page fault per 2 MiB instead of one
// per 4 KiB, where the system hands out huge pages on request; pages never
// written still cost nothing.
void AskForHugePages(char* data, size_t size) {
  constexpr uintptr_t kHugePage = 2 << 20;
  if (size < 2 * kHugePage)
    return;
  const auto begin = (reinterpret_cast<uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kHugePage - 1);
  if (end > begin)
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize,
                   std::string& failure, unsigned growthRoom) {
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!file.Valid() || ::fstat(file.Get(), &info) != 0) {
    failure = ErrorText(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    failure = S_ISDIR(info.st_mode) ? "is a directory" : "is not a regular file";
    return false;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size >= maxSize) {
    failure = "is too large";
    return false;
  }
  std::string content;
  if (ReserveGrowthRoom(content, static_cast<size_t>(size), growthRoom))
    AskForHugePages(content.data(), content.capacity());
  content.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t rc = ::read(file.Get(), content.data() + done, content.size() - done);
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0) {
      failure = rc < 0 ? ErrorText(errno) : "was cut short while being read";
      return false;
    }
    done += static_cast<size_t>(rc);
  }
  bytes = std::move(content);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize) {
  std::string failure;
  return ReadWholeFile(path, bytes, maxSize, failure);
}

bool ReadableByOthers(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IROTH) != 0;
}

std::string CurrentDirectory() {
  char* cwd = ::getcwd(nullptr, 0);
  if (cwd == nullptr)
    return {};
  std::string result(cwd);
  std::free(cwd);
  return result;
}

std::string ExecutablePath() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0)
    return {};
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

std::string HomeDirectory() {
  return GetEnv("HOME");
}

std::string UserConfigDirectory() {
  const std::string configHome = GetEnv("XDG_CONFIG_HOME");
  return configHome.empty() ? HomeDirectory() + "/.config" : configHome;
}

std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace Platform
