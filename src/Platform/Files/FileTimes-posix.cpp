#include "Platform/Files/FileTimes.hpp"

#include <fcntl.h>
#include <sys/stat.h>

namespace Platform {
namespace {

FileInstant FromStatx(const struct statx_timestamp& stamp) {
  return {static_cast<std::int64_t>(stamp.tv_sec), stamp.tv_nsec};
}

}  // namespace

bool ReadFileTimes(const std::string& path, FileTimeStamps& times) {
  struct statx info {};
  const unsigned mask = STATX_BTIME | STATX_MTIME | STATX_ATIME;
  if (path.empty() || ::statx(AT_FDCWD, path.c_str(), 0, mask, &info) != 0)
    return false;
  if ((info.stx_mask & (STATX_MTIME | STATX_ATIME)) != (STATX_MTIME | STATX_ATIME))
    return false;
  times.LastWrite = FromStatx(info.stx_mtime);
  times.LastAccess = FromStatx(info.stx_atime);
  times.Creation = (info.stx_mask & STATX_BTIME) ? FromStatx(info.stx_btime) : times.LastWrite;
  return true;
}

}  // namespace Platform
