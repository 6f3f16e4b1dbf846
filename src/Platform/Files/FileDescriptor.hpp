#pragma once
// Move-only owner of a POSIX file descriptor.
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

namespace Platform {

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : FFd(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(FileDescriptor&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      FFd = std::exchange(other.FFd, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool Valid() const { return FFd >= 0; }
  int Get() const { return FFd; }
  void Reset() {
    if (FFd >= 0)
      ::close(FFd);
    FFd = -1;
  }

 private:
  int FFd = -1;
};

// Writes all the bytes, again after an interrupted or partial write; false
// (with errno set) when the file fails.
inline bool WriteFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace Platform
