#include <windows.h>

#include <algorithm>

#include "Platform/Files/ReadOnlyFile.hpp"
#include "Platform/Text/Charset.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {

struct ReadOnlyFile::Impl {
  Win32Handle File;
  std::uint64_t Size = 0;
};

ReadOnlyFile::ReadOnlyFile() = default;
ReadOnlyFile::~ReadOnlyFile() = default;
ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&&) noexcept = default;
ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&&) noexcept = default;

bool ReadOnlyFile::Open(const std::string& path, std::string& error) {
  auto impl = std::make_unique<Impl>();
  // Shared for writing too: a file that its program still writes is read.
  impl->File = Win32Handle(::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!impl->File.Valid() || !::GetFileSizeEx(impl->File.Get(), &size)) {
    error = "cannot open " + DecodeFromLocale(path) + ": " + Win32ErrorText(::GetLastError());
    return false;
  }
  impl->Size = static_cast<std::uint64_t>(size.QuadPart);
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
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  const auto chunk = static_cast<DWORD>(std::min<size_t>(size, 0x40000000));
  return ::ReadFile(FImpl->File.Get(), buffer, chunk, &got, &at) ? got : 0;
}

}  // namespace Platform
