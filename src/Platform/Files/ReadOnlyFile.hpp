#pragma once
// A file opened for reading, by its path, kept open while it is read: its
// size as it was opened, and reads at any offset. Move-only; other programs
// may go on writing the file meanwhile (a scanner, an editor).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

class ReadOnlyFile {
 public:
  ReadOnlyFile();
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&&) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&&) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // False with `error` ("cannot open PATH: why") when it cannot be opened.
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const;
  std::uint64_t Size() const;
  // Up to `size` bytes from `offset`; 0 at the end of the file or on failure.
  size_t ReadAt(std::uint64_t offset, char* buffer, size_t size);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace Platform
