#pragma once
// Lines for standard error, led by the program's name so that they stand out
// in logs: warnings (the run goes on) and the causes of failures. Standard
// output keeps only the result or error line.
#include <string>
#include <string_view>

namespace Kestrel::CommonLib {

// "quillpost: warning: " + text.
void Warn(std::string_view text);
// "quillpost: " + text.
void TellCause(std::string_view text);
// The text in double quotes, as file and notebook names appear in messages.
std::string Quoted(std::string_view text);
// A path as given (bytes in the locale's character set), as text in quotes.
std::string QuotedPath(std::string_view path);

}  // namespace Kestrel::CommonLib
