#include "Platform/Files/InputHandle.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Platform {

size_t ReadFromInput(int fd, char* buffer, size_t size) {
  while (true) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got < 0 && errno == EINTR)
      continue;
    return got > 0 ? static_cast<size_t>(got) : 0;
  }
}

std::uint64_t InputBytesLeft(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
    return 0;
  const off_t at = ::lseek(fd, 0, SEEK_CUR);
  return at < 0 || at > info.st_size ? 0 : static_cast<std::uint64_t>(info.st_size - at);
}

}  // namespace Platform
