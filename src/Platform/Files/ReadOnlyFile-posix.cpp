#include "Platform/Files/ReadOnlyFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/FileDescriptor.hpp"
#include "Platform/Text/Charset.hpp"

namespace Platform {

struct ReadOnlyFile::Impl {
  FileDescriptor File;
  std::uint64_t Size = 0;
};

ReadOnlyFile::ReadOnlyFile() = default;
ReadOnlyFile::~ReadOnlyFile() = default;
ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&&) noexcept = default;
ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&&) noexcept = default;

bool ReadOnlyFile::Open(const std::string& path, std::string& error) {
  auto impl = std::make_unique<Impl>();
  impl->File = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!impl->File.Valid() || ::fstat(impl->File.Get(), &info) != 0) {
    error = "cannot open " + DecodeFromLocale(path) + ": " + ErrorText(errno);
    return false;
  }
  impl->Size = static_cast<std::uint64_t>(info.st_size);
  FImpl = std::move(impl);
  return true;
}

bool ReadOnlyFile::IsOpen() const {
  return FImpl != nullptr;
}

std::uint64_t ReadOnlyFile::Size() const {
  return FImpl ? FImpl->Size : 0;
}

size_t ReadOnlyFile::ReadAt(std::uint64_t offset, char* buffer, size_t size) {
  if (!FImpl)
    return 0;
  const ssize_t got = ::pread(FImpl->File.Get(), buffer, size, static_cast<off_t>(offset));
  return got > 0 ? static_cast<size_t>(got) : 0;
}

}  // namespace Platform
