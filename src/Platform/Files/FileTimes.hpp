#pragma once
// A file's or directory's three times, as UTC instants.
#include <cstdint>
#include <string>

namespace Platform {

struct FileInstant {
  std::int64_t Seconds = 0;  // since 1970-01-01 00:00:00 UTC
  std::uint32_t Nanoseconds = 0;
};

struct FileTimeStamps {
  FileInstant Creation;  // the birth time where the file system keeps one, else last write
  FileInstant LastWrite;
  FileInstant LastAccess;
};

// False when the path names nothing or its times cannot be read.
bool ReadFileTimes(const std::string& path, FileTimeStamps& times);

}  // namespace Platform
