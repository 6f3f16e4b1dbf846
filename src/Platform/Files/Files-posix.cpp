#include "Platform/Files/Files.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
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

namespace {

constexpr size_t kReadPiece = 64 << 10;

// What a file of this kind may be read as, or why it may not.
const char* RefusalOf(const struct stat& info, int fd, FileKinds kinds) {
  if (S_ISREG(info.st_mode))
    return nullptr;
  if (S_ISDIR(info.st_mode))
    return "is a directory";
  const bool stream = S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISSOCK(info.st_mode);
  if (kinds == FileKinds::RegularOnly || !stream)
    return "is not a regular file";
  if (::isatty(fd))
    return "is a terminal";
  return nullptr;
}

// A stream is read with waiting.
bool MakeBlocking(const FileDescriptor& file) {
  const int flags = ::fcntl(file.Get(), F_GETFL);
  return flags >= 0 && ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// A FIFO taken as a stream is opened once, waiting for its writer as `cat`
// does: a probe before it would let a quick writer write and go while
// nobody read, and a second open would then wait for ever.
bool IsFifoToWaitFor(const std::string& path, FileKinds kinds) {
  struct stat named {};
  return kinds == FileKinds::AlsoStreams && ::stat(path.c_str(), &named) == 0 &&
         S_ISFIFO(named.st_mode);
}

// Reads to the end into `content`, whose size is the first guess of the
// length; the guess grows by doubling while the file goes on.
bool ReadToEnd(int fd, std::string& content, std::uint64_t maxSize, std::string& failure) {
  size_t done = 0;
  for (;;) {
    if (done == content.size()) {
      if (done >= maxSize) {
        failure = "is too large";
        return false;
      }
      const std::uint64_t grown = std::max<std::uint64_t>(2 * std::uint64_t{done}, kReadPiece);
      content.resize(static_cast<size_t>(std::min<std::uint64_t>(grown, maxSize)));
    }
    const ssize_t rc = ::read(fd, content.data() + done, content.size() - done);
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc < 0) {
      failure = ErrorText(errno);
      return false;
    }
    if (rc == 0)
      break;
    done += static_cast<size_t>(rc);
  }
  content.resize(done);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize,
                   std::string& failure, unsigned growthRoom, FileKinds kinds) {
  // Otherwise non-blocking, so that opening a FIFO does not wait for a writer.
  const bool waitForWriter = IsFifoToWaitFor(path, kinds);
  FileDescriptor file(
      ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (waitForWriter ? 0 : O_NONBLOCK)));
  struct stat info {};
  if (!file.Valid() || ::fstat(file.Get(), &info) != 0) {
    failure = ErrorText(errno);
    return false;
  }
  if (const char* refusal = RefusalOf(info, file.Get(), kinds)) {
    failure = refusal;
    return false;
  }
  const bool regular = S_ISREG(info.st_mode);
  if (!regular && !waitForWriter && !MakeBlocking(file)) {
    failure = ErrorText(errno);
    return false;
  }
  const auto size = regular ? static_cast<std::uint64_t>(info.st_size) : 0;
  if (size >= maxSize) {
    failure = "is too large";
    return false;
  }
  std::string content;
  if (ReserveGrowthRoom(content, static_cast<size_t>(size), growthRoom))
    AskForHugePages(content.data(), content.capacity());
  // One byte past the size it reports, to see that the file ends there.
  content.resize(static_cast<size_t>(size) + 1);
  if (!ReadToEnd(file.Get(), content, maxSize, failure))
    return false;
  if (content.size() < size) {
    failure = "was cut short while being read";
    return false;
  }
  bytes = std::move(content);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize) {
  std::string failure;
  return ReadWholeFile(path, bytes, maxSize, failure);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

bool FileSize(const std::string& path, std::uint64_t& size) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

std::string ResolvedPath(const std::string& path) {
  struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
  };
  const std::unique_ptr<char, FreeDeleter> resolved(::realpath(path.c_str(), nullptr));
  return resolved ? std::string(resolved.get()) : std::string();
}

bool OpenToOthers(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 &&
         (info.st_mode & (S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH)) != 0;
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
