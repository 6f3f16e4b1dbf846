#include "Kestrel/CommonLib/Dates/FileTimes.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <cmath>

#include "support/TempDir.hpp"
#include "support/TestEnvironment.hpp"

namespace Kestrel::CommonLib {
namespace {

TFileTime FileTimeOf(std::int64_t unixSeconds, std::int64_t hundredNs = 0) {
  return kFileTimeOfUnixEpoch + unixSeconds * 10000000 + hundredNs;
}

TDateTime Local(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return EncodeDateTime({y, mo, d, h, mi, s, ms});
}

void SetTimes(const std::string& path, std::int64_t access, std::int64_t modify) {
  const timespec times[2] = {{access, 0}, {modify, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileTimesTest, ConvertsWithTheZoneRulesOfTheFilesOwnDate) {
  TestSupport::ScopedTimeZone zone("Europe/Berlin");
  // 2024-07-01 12:00:00.1234567 UTC is summer time (+2), 2024-01-05 14:04:09 UTC winter (+1),
  // whatever the date of the run.
  EXPECT_EQ(FileTimeToLocalDateTime(FileTimeOf(1719835200, 1234567)),
            Local(2024, 7, 1, 14, 0, 0, 123));
  EXPECT_EQ(FileTimeToLocalDateTime(FileTimeOf(1704463449)), Local(2024, 1, 5, 15, 4, 9));
  EXPECT_EQ(FileTimeToLocalDateTime(FileTimeOf(-86400)), Local(1969, 12, 31, 1, 0, 0));
}

TEST(FileTimesTest, ReadsTheTimesOfFilesAndDirectories) {
  TestSupport::ScopedTimeZone zone("UTC");
  TestSupport::TempDir dir;
  const std::string file = dir.Write("a.txt", "x");
  SetTimes(file, 1704463449, 1719835200);
  TDateTime creation = 0, lastWrite = 0, lastAccess = 0;
  ASSERT_TRUE(GetFileTimes(file, creation, lastWrite, lastAccess));
  EXPECT_EQ(lastWrite, Local(2024, 7, 1, 12, 0, 0));
  EXPECT_EQ(lastAccess, Local(2024, 1, 5, 14, 4, 9));
  EXPECT_GT(creation, 0);

  const std::string sub = dir.MakeDir("sub");
  SetTimes(sub, 1704463449, 1704463449);
  ASSERT_TRUE(GetFileTimes(sub, creation, lastWrite, lastAccess));
  EXPECT_EQ(lastWrite, Local(2024, 1, 5, 14, 4, 9));
}

TEST(FileTimesTest, MissingPathGivesTheCurrentTime) {
  TDateTime creation = 0, lastWrite = 0, lastAccess = 0;
  const TDateTime before = NowDateTime();
  EXPECT_FALSE(GetFileTimes("/nonexistent/file", creation, lastWrite, lastAccess));
  EXPECT_GE(creation, before);
  EXPECT_LT(std::fabs(lastWrite - NowDateTime()), 1.0 / 86400 * 5);
  EXPECT_EQ(lastWrite, lastAccess);
}

}  // namespace
}  // namespace Kestrel::CommonLib
