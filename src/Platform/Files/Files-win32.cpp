#include <windows.h>

#include <cstdlib>

#include "Platform/Files/Files.hpp"
#include "Platform/Files/GrowthRoom.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {
namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD AttributesOf(const std::string& path) {
  return path.empty() ? kNoAttributes : ::GetFileAttributesW(WideText(path).c_str());
}

// The system's answer as text; `length` counts what it wrote, or the room it
// needs when that is more than it was given.
template <typename Ask>
std::string AskForText(Ask ask) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = ask(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return {};
    if (length < buffer.size())
      return Utf8Text(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2 > length ? buffer.size() * 2 : length + 1);
  }
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const std::string& path) {
  return AttributesOf(path) != kNoAttributes;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize,
                   std::string& failure, unsigned growthRoom, FileKinds /*kinds*/) {
  if (DirectoryExists(path)) {
    failure = "is a directory";
    return false;
  }
  // Others may go on reading and writing the file while it is read.
  Win32Handle file(::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) {
    failure = Win32ErrorText(::GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
    failure = "is not a regular file";
    return false;
  }
  if (!::GetFileSizeEx(file.Get(), &size)) {
    failure = Win32ErrorText(::GetLastError());
    return false;
  }
  if (static_cast<std::uint64_t>(size.QuadPart) >= maxSize) {
    failure = "is too large";
    return false;
  }
  std::string content;
  ReserveGrowthRoom(content, static_cast<size_t>(size.QuadPart), growthRoom);
  content.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < content.size()) {
    const size_t left = content.size() - done;
    DWORD got = 0;
    if (!::ReadFile(file.Get(), content.data() + done,
                    static_cast<DWORD>(left > 0x40000000 ? 0x40000000 : left), &got, nullptr)) {
      failure = Win32ErrorText(::GetLastError());
      return false;
    }
    if (got == 0) {
      failure = "was cut short while being read";
      return false;
    }
    done += got;
  }
  bytes = std::move(content);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxSize) {
  std::string failure;
  return ReadWholeFile(path, bytes, maxSize, failure);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  // No access is asked for: only what the handle names is read.
  Win32Handle file(::CreateFileW(WideText(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info))
    return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

bool FileSize(const std::string& path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(WideText(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return true;
}

std::string ResolvedPath(const std::string& path) {
  // Directories open only with backup semantics; no data is read.
  Win32Handle file(::CreateFileW(WideText(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid())
    return {};
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(),
                                         static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
  }
  if (length == 0 || length >= buffer.size())
    return {};
  buffer.resize(length);
  // "\\?\C:\x" is the same file as "C:\x"; UNC paths keep their form.
  if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0)
    buffer = L"\\\\" + buffer.substr(8);
  else if (buffer.rfind(L"\\\\?\\", 0) == 0)
    buffer = buffer.substr(4);
  return Utf8Text(buffer);
}

// Access on Windows is granted by access-control lists, not by mode bits that
// the settings warning could point at.
bool OpenToOthers(const std::string&) {
  return false;
}

std::string CurrentDirectory() {
  return AskForText(
      [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
}

std::string ExecutablePath() {
  return AskForText([](wchar_t* buffer, DWORD size) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, size);
    // A cut path fills the buffer: ask for more room.
    return length >= size ? size : length;
  });
}

std::string HomeDirectory() {
  return GetEnv("USERPROFILE");
}

std::string UserConfigDirectory() {
  return GetEnv("APPDATA");
}

std::string GetEnv(const char* name) {
  const wchar_t* value = ::_wgetenv(WideText(name).c_str());
  return value ? Utf8Text(value) : "";
}

}  // namespace Platform
