// Date-times as users write them in the locale (the first byte picks it),
// and dates taken from file names.
#include <clocale>

#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"
#include "Kestrel/CommonLib/Dates/DateTimeParser.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  static const bool zoned = [] {
    ::setenv("TZ", "Europe/Berlin", 1);
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    std::setlocale(LC_ALL, "");
    return true;
  }();
  (void)zoned;
  const std::string_view text = Fuzz::AsText(data + 1, size - 1);
  Kestrel::CommonLib::ParseDateTimeOrNow(text, 45000.5);
  const std::string name(text);
  Kestrel::CommonLib::ReplaceFileNameDateTags(name, "%FileNameDateTime% %FileNameDate%");
  return 0;
}
