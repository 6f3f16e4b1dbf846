#pragma once
// Dates found in the digits of a file name, and the placeholders of the date
// switches filled from a file's name or times, written year first with the
// locale's date and time separators ("2024/01/05 15:04:09").
#include <string>
#include <string_view>

#include "Kestrel/CommonLib/Dates/DateTime.hpp"

namespace Kestrel::CommonLib {

// "yyyy/mm/dd hh:nn:ss" (milliseconds dropped, never rounded).
std::string FormatPlaceholderDateTime(TDateTime value);
// "yyyy/mm/dd 00:00:00".
std::string FormatPlaceholderDate(TDateTime value);

// The date (and time, from 12 digits on) in the ASCII digits of the text:
// year 1891..2099, a real calendar date. `value` is untouched on false.
bool TryDateFromFileName(std::string_view text, TDateTime& value);

// "%FileCTime%", "%FileMTime%", "%FileATime%", "%FileTime%" and the bare word
// "filetime", any case, from the path's times (the current time when they
// cannot be read).
std::string ReplaceFileTimeTags(const std::string& path, std::string_view text);

// "%FileNameDateTime%" and "%FileNameDate%" from the digits of the path (the
// current time when they give no date).
std::string ReplaceFileNameDateTags(const std::string& path, std::string_view text);

}  // namespace Kestrel::CommonLib
