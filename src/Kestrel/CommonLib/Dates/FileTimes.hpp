#pragma once
// A file's times as local date-time values.
#include <cstdint>
#include <string>

#include "Kestrel/CommonLib/Dates/DateTime.hpp"

namespace Kestrel::CommonLib {

// 100-nanosecond intervals since 1601-01-01 00:00:00 UTC.
using TFileTime = std::int64_t;
inline constexpr TFileTime kFileTimeOfUnixEpoch = 116444736000000000;

// Local time by the zone rules in force at the file time's own date, to the
// whole millisecond; 0 when the conversion fails.
TDateTime FileTimeToLocalDateTime(TFileTime fileTime);

// The clock's local date-time, to the millisecond.
TDateTime NowDateTime();

// Creation, last-write and last-access times of a file or directory. All three
// are the current time when the call returns false (nothing at the path).
bool GetFileTimes(const std::string& path, TDateTime& creation, TDateTime& lastWrite,
                  TDateTime& lastAccess);

}  // namespace Kestrel::CommonLib
