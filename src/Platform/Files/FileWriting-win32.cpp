#include <windows.h>

#include "Platform/Files/FileWriting.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::string LastErrorAbout(const std::string& path) {
  return path + ": " + Win32ErrorText(::GetLastError());
}

}  // namespace

bool MakeDirectories(const std::string& path, std::string& failure) {
  for (size_t cut = path.find_first_of("\\/", 3);; cut = path.find_first_of("\\/", cut + 1)) {
    const std::string part = path.substr(0, cut);
    if (!::CreateDirectoryW(WideText(part).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_ACCESS_DENIED) {
      failure = LastErrorAbout(part);
      return false;
    }
    if (cut == std::string::npos)
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
    Win32Handle file(::CreateFileW(WideText(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || !WriteAll(file.Get(), bytes) || !::FlushFileBuffers(file.Get())) {
      failure = LastErrorAbout(temporary);
      return false;
    }
  }
  if (!::MoveFileExW(WideText(temporary).c_str(), WideText(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = LastErrorAbout(path);
    ::DeleteFileW(WideText(temporary).c_str());
    return false;
  }
  return true;
}

struct AppendOnlyFile::Handle {
  Win32Handle File;
};

AppendOnlyFile::AppendOnlyFile() = default;
AppendOnlyFile::~AppendOnlyFile() = default;
AppendOnlyFile::AppendOnlyFile(AppendOnlyFile&&) noexcept = default;
AppendOnlyFile& AppendOnlyFile::operator=(AppendOnlyFile&&) noexcept = default;

bool AppendOnlyFile::Open(const std::string& path, std::string& failure) {
  Win32Handle file(::CreateFileW(WideText(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    failure = LastErrorAbout(path);
    return false;
  }
  FHandle = std::make_unique<Handle>(Handle{std::move(file)});
  return true;
}

bool AppendOnlyFile::Append(std::string_view record) {
  return FHandle && WriteAll(FHandle->File.Get(), record);
}

bool AppendOnlyFile::IsOpen() const {
  return FHandle != nullptr;
}

std::string UserStateDirectory() {
  return GetEnv("LOCALAPPDATA");
}

std::string UserCacheDirectory() {
  return GetEnv("LOCALAPPDATA");
}

}  // namespace Platform
