#include <windows.h>

#include "Platform/Files/InputHandle.hpp"

namespace Platform {
namespace {

HANDLE HandleOf(int fd) {
  return ::GetStdHandle(fd == 0   ? STD_INPUT_HANDLE
                        : fd == 1 ? STD_OUTPUT_HANDLE
                                  : STD_ERROR_HANDLE);
}

}  // namespace

// Straight from the handle: the C runtime's text mode would turn CR LF into
// LF and stop at a Ctrl+Z byte.
size_t ReadFromInput(int fd, char* buffer, size_t size) {
  DWORD got = 0;
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!::ReadFile(HandleOf(fd), buffer, wanted, &got, nullptr))
    return 0;
  return got;
}

std::uint64_t InputBytesLeft(int fd) {
  const HANDLE handle = HandleOf(fd);
  LARGE_INTEGER size{}, at{}, zero{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size) ||
      !::SetFilePointerEx(handle, zero, &at, FILE_CURRENT) || at.QuadPart > size.QuadPart)
    return 0;
  return static_cast<std::uint64_t>(size.QuadPart - at.QuadPart);
}

}  // namespace Platform
