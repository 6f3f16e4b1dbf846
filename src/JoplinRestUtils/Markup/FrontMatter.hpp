#pragma once
// The YAML block that Markdown files of other note apps, site generators and
// Joplin's own "Markdown + Front Matter" export begin with: found in a text
// whose lines end with CR LF, and read into the note fields it names.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

inline constexpr size_t kMaxFrontMatterBytes = 64 * 1024;

struct TFrontMatterBlock {
  std::string_view Yaml;  // between the fences
  size_t BodyStart = 0;   // where the body begins after it
  int FirstLine = 2;      // the line of the text that the YAML starts on
};

enum class TFrontMatterSearch { None, Found, Unclosed };

// A block is there when the text's first line (after a byte-order mark) is
// "---"; it ends at the next line that is "---" or "...", and one blank line
// after it belongs to it, as Joplin writes it.
TFrontMatterSearch FindFrontMatter(std::string_view text, TFrontMatterBlock& block);

struct TFrontMatter {
  std::optional<std::string> Title;
  std::vector<std::string> Tags;
  // Unix epoch milliseconds.
  std::optional<std::int64_t> Created;
  std::optional<std::int64_t> Updated;
  std::optional<std::int64_t> Due;
  std::optional<std::string> Source;
  std::optional<std::string> Author;
  std::optional<double> Latitude;
  std::optional<double> Longitude;
  std::optional<double> Altitude;
  // Present: the note is a to-do; true: a done one.
  std::optional<bool> Completed;
};

// A block that is no YAML, or no mapping, or too long; the message names
// the line of the whole text.
class EFrontMatterError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EFrontMatterError"; }
};

// The fields of a block, its keys matched ignoring case; keys of other tools
// are passed over. A value that cannot be read (a date, a number) is left
// out with a line in `warnings`. `source` names the text in errors and
// warnings. Throws EFrontMatterError.
TFrontMatter ReadFrontMatter(const TFrontMatterBlock& block, std::string_view source,
                             std::vector<std::string>& warnings);

// A front-matter date: ISO 8601 with or without a zone ("T" or a blank
// between date and time; without a zone, local time) or a date alone
// (midnight, local time), as Unix epoch milliseconds.
std::optional<std::int64_t> ReadFrontMatterDate(std::string_view text);

}  // namespace JoplinRestUtils
