#pragma once
// Every test process starts in the C.UTF-8 locale and the Europe/Berlin zone,
// so that no test depends on the machine's settings. ScopedTimeZone switches
// the zone for one test.
#include <string>

namespace TestSupport {

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::string FPrevious;
};

}  // namespace TestSupport
