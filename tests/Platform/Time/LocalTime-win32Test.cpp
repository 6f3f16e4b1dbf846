// The zone rules of the date itself, under the zone the test run sets (TZ,
// which Wine maps to a Windows zone); Europe/Berlin in the test command.
#include <windows.h>

#include <gtest/gtest.h>

#include "Platform/Time/LocalTime.hpp"

namespace Platform {
namespace {

bool ZoneHasDaylightSaving() {
  TIME_ZONE_INFORMATION zone{};
  return ::GetTimeZoneInformation(&zone) != TIME_ZONE_ID_UNKNOWN && zone.DaylightDate.wMonth != 0;
}

TEST(LocalTimeWin32Test, EveryInstantComesBackWhole) {
  for (std::int64_t instant = 1704067200; instant < 1735689600; instant += 86400 * 7 + 3671) {
    CalendarFields local;
    ASSERT_TRUE(UtcToLocal(instant, 250, local));
    EXPECT_EQ(local.Millisecond, 250);
    std::int64_t back = 0;
    ASSERT_EQ(LocalToUtc(local, back), LocalTimeKind::Valid);
    EXPECT_EQ(back, instant);
  }
}

TEST(LocalTimeWin32Test, SkippedAndRepeatedHoursOfCentralEurope) {
  if (!ZoneHasDaylightSaving())
    GTEST_SKIP() << "the zone has no daylight saving";
  CalendarFields winter;
  ASSERT_TRUE(UtcToLocal(1705323600, 0, winter));  // 2024-01-15 13:00 UTC
  ASSERT_EQ(winter.Hour, 14) << "these cases assume Central European time";
  CalendarFields summer;
  ASSERT_TRUE(UtcToLocal(1721048400, 0, summer));  // 2024-07-15 13:00 UTC
  EXPECT_EQ(summer.Hour, 15);                      // the rules of July, whenever the test runs
  std::int64_t utc = 0;
  EXPECT_EQ(LocalToUtc({2024, 3, 31, 2, 30, 0, 0}, utc), LocalTimeKind::Skipped);
  ASSERT_EQ(LocalToUtc({2024, 10, 27, 2, 30, 0, 0}, utc), LocalTimeKind::Valid);
  EXPECT_EQ(utc, 1729992600);  // 01:30 UTC: standard time, the later of the two
}

TEST(LocalTimeWin32Test, NowIsToday) {
  const CalendarFields now = NowLocal();
  EXPECT_GE(now.Year, 2024);
  EXPECT_GE(now.Month, 1);
  EXPECT_LE(now.Millisecond, 999);
}

}  // namespace
}  // namespace Platform
