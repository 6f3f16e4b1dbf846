// Files opened as others hold them open, named in any script, and their times.
#include <windows.h>

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Platform/Files/FileTimes.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"
#include "support/TempDir.hpp"

namespace Platform {
namespace {

Win32Handle HoldOpen(const std::string& path, DWORD access, DWORD share) {
  return Win32Handle(::CreateFileW(WideText(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(FilesWin32Test, ReadsAFileThatAnotherProgramIsWriting) {
  TestSupport::TempDir dir;
  const std::string path = dir.Write("scan.txt", "page one");
  const Win32Handle writer = HoldOpen(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(writer.Valid());
  std::string bytes, failure;
  ASSERT_TRUE(ReadWholeFile(path, bytes, UINT64_MAX, failure)) << failure;
  EXPECT_EQ(bytes, "page one");
}

TEST(FilesWin32Test, AFileLockedByItsOwnerFailsWithTheSystemsReason) {
  TestSupport::TempDir dir;
  const std::string path = dir.Write("locked.txt", "secret");
  const Win32Handle owner = HoldOpen(path, GENERIC_READ | GENERIC_WRITE, 0);
  ASSERT_TRUE(owner.Valid());
  std::string bytes = "untouched", failure;
  EXPECT_FALSE(ReadWholeFile(path, bytes, UINT64_MAX, failure));
  EXPECT_EQ(bytes, "untouched");
  EXPECT_EQ(failure, Win32ErrorText(ERROR_SHARING_VIOLATION));
  // Its times need no access to its content.
  FileTimeStamps times;
  EXPECT_TRUE(ReadFileTimes(path, times));
}

TEST(FilesWin32Test, NamesInAnyScriptAndFailures) {
  TestSupport::TempDir dir;
  const std::string name =
      "\xC3\x9C"
      "ber \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.md";
  const std::string path = dir.Write(name, "x");
  std::string bytes, failure;
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(ReadWholeFile(path, bytes, UINT64_MAX, failure)) << failure;
  EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes, UINT64_MAX, failure));
  EXPECT_EQ(failure, "is a directory");
  EXPECT_FALSE(ReadWholeFile(dir / "missing.md", bytes, UINT64_MAX, failure));
  EXPECT_EQ(failure, Win32ErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(ReadWholeFile(path, bytes, 1, failure));
  EXPECT_EQ(failure, "is too large");
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(PathExists(dir / "missing.md"));
}

TEST(FilesWin32Test, TimesAreTheOnesTheSystemKeeps) {
  TestSupport::TempDir dir;
  const std::string path = dir.Write("dated.txt", "x");
  {
    const Win32Handle file = HoldOpen(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ);
    ASSERT_TRUE(file.Valid());
    // 2024-01-05 14:04:09.5 UTC, 2024-02-03 04:05:06 UTC, 2024-03-01 00:00:00 UTC.
    const auto at = [](std::uint64_t unixTenths) {
      const std::uint64_t ticks = (unixTenths + 116444736000) * 1000000;
      return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    };
    const FILETIME creation = at(17044634495), access = at(17092512000), write = at(17069331060);
    ASSERT_TRUE(::SetFileTime(file.Get(), &creation, &access, &write));
  }
  FileTimeStamps times;
  ASSERT_TRUE(ReadFileTimes(path, times));
  // Wine cannot set a birth time on a Linux file system and reports the last
  // write in its place; Windows keeps the one set.
  if (times.Creation.Seconds != times.LastWrite.Seconds) {
    EXPECT_EQ(times.Creation.Seconds, 1704463449);
    EXPECT_EQ(times.Creation.Nanoseconds, 500000000u);
  }
  EXPECT_EQ(times.LastWrite.Seconds, 1706933106);
  EXPECT_EQ(times.LastAccess.Seconds, 1709251200);
  EXPECT_FALSE(ReadFileTimes(dir / "missing.txt", times));
  EXPECT_TRUE(ReadFileTimes(dir.Path(), times));  // a directory has times too
}

TEST(FilesWin32Test, TheExecutableAndTheUsersFolders) {
  EXPECT_TRUE(ExecutablePath().ends_with("quillpost_tests.exe")) << ExecutablePath();
  EXPECT_TRUE(FileExists(ExecutablePath()));
  EXPECT_TRUE(DirectoryExists(HomeDirectory())) << HomeDirectory();
  EXPECT_TRUE(DirectoryExists(UserConfigDirectory())) << UserConfigDirectory();
  EXPECT_EQ(GetEnv("QUILLPOST_SURELY_UNSET_VARIABLE"), "");
}

}  // namespace
}  // namespace Platform
