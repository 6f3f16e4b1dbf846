#include "support/TestEnvironment.hpp"

#include <cstdlib>
#include <ctime>

namespace TestSupport {
namespace {

const bool kPinned = [] {
  ::setenv("LC_ALL", "C.UTF-8", 1);
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  return true;
}();

}  // namespace

ScopedTimeZone::ScopedTimeZone(const char* zone) {
  (void)kPinned;
  const char* previous = std::getenv("TZ");
  FPrevious = previous ? previous : "";
  ::setenv("TZ", zone, 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  ::setenv("TZ", FPrevious.c_str(), 1);
  ::tzset();
}

}  // namespace TestSupport
