#include "JoplinRestUtils/Markup/FrontMatter.hpp"

#include <charconv>
#include <cmath>

#include "JoplinRestUtils/Markup/YamlMap.hpp"
#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/DateCursor.hpp"
#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::Quoted;
using Kestrel::CommonLib::TrimText;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kWayOut = "; /NoFrontMatter sends the text as written";

// The line at `pos` without its line end, and where the next one starts.
std::string_view LineAt(std::string_view text, size_t pos, size_t& next) {
  const size_t end = text.find('\n', pos);
  next = end == std::string_view::npos ? text.size() : end + 1;
  std::string_view line = text.substr(pos, next - pos);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

bool IsFence(std::string_view line, bool closing) {
  const std::string_view trimmed = TrimText(line);
  return line.starts_with(trimmed) && (trimmed == "---" || (closing && trimmed == "..."));
}

// --- dates

using Kestrel::CommonLib::TDateCursor;

// A number of `least` to `most` digits.
std::optional<int> Digits(TDateCursor& cursor, size_t least, size_t most) {
  int value = 0;
  size_t digits = 0;
  if (!cursor.Number(most, value, digits) || digits < least)
    return std::nullopt;
  return value;
}

int ValueOfDigits(std::string_view digits) {
  int value = 0;
  for (const char c : digits)
    value = value * 10 + (c - '0');
  return value;
}

// Milliseconds of a fraction's digits, the rest of them dropped.
int FractionMs(std::string_view digits) {
  int ms = 0;
  for (size_t i = 0; i < 3; ++i)
    ms = ms * 10 + (i < digits.size() ? digits[i] - '0' : 0);
  return ms;
}

// Blanks and tabs, as a YAML scalar may hold them.
void SkipBlanks(TDateCursor& cursor) {
  while (cursor.Blanks() > 0 || cursor.Literal("\t")) {
  }
}

// Minutes east of UTC of "Z", "+02:00", "+0200" or "-5".
std::optional<int> ZoneOffset(TDateCursor& cursor) {
  if (cursor.Word("Z"))
    return 0;
  const bool west = cursor.Literal("-");
  if (!west && !cursor.Literal("+"))
    return std::nullopt;
  const std::string_view run = cursor.DigitRun();
  int hours = ValueOfDigits(run.substr(0, 2));
  int minutes = 0;
  if (run.size() == 4) {
    minutes = ValueOfDigits(run.substr(2));
  } else if (run.empty() || run.size() > 2) {
    return std::nullopt;
  } else if (cursor.Literal(":")) {
    const std::optional<int> given = Digits(cursor, 2, 2);
    if (!given)
      return std::nullopt;
    minutes = *given;
  }
  if (hours > 23 || minutes > 59)
    return std::nullopt;
  const int offset = hours * 60 + minutes;
  return west ? -offset : offset;
}

// --- values

std::vector<std::string> SplitTags(const TYamlValue& value) {
  std::vector<std::string> tags;
  auto add = [&tags](std::string_view tag) {
    tag = TrimText(tag);
    if (tag.empty())
      return;
    for (const auto& known : tags) {
      if (Kestrel::CommonLib::SameText(known, tag))
        return;
    }
    tags.emplace_back(tag);
  };
  if (value.Kind == TYamlValue::TKind::List) {
    for (const auto& item : value.Items)
      add(item);
  } else if (value.Kind == TYamlValue::TKind::Scalar) {
    std::string_view rest = value.Text;
    for (size_t comma = rest.find(','); comma != std::string_view::npos; comma = rest.find(',')) {
      add(rest.substr(0, comma));
      rest.remove_prefix(comma + 1);
    }
    add(rest);
  }
  return tags;
}

std::optional<std::string> AuthorOf(const TYamlValue& value) {
  switch (value.Kind) {
    case TYamlValue::TKind::Scalar:
      return value.Text;
    case TYamlValue::TKind::List:
      if (!value.Items.empty())
        return value.Items.front();
      return std::nullopt;
    case TYamlValue::TKind::Map:
      for (const auto& [key, text] : value.Members) {
        if (key == "name")
          return text;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<double> NumberOf(std::string_view text) {
  text = TrimText(text);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number))
    return std::nullopt;
  return number;
}

// Reads the members of a block into the fields, with the warnings of those
// that cannot be read.
class TFieldReader {
 public:
  TFieldReader(std::string_view source, int firstLine, std::vector<std::string>& warnings)
      : FSource(source), FFirstLine(firstLine), FWarnings(warnings) {}

  void Read(const std::vector<TYamlMember>& members, TFrontMatter& fields) {
    FMembers = &members;
    fields.Title = Text("title");
    fields.Source = Text("source");
    if (const TYamlMember* author = Find({"author"}))
      fields.Author = AuthorOf(author->Value);
    if (const TYamlMember* tags = Find({"tags", "keywords"}))
      fields.Tags = SplitTags(tags->Value);
    fields.Created = Date({"created", "date"});
    fields.Updated = Date({"updated", "lastmod", "modified"});
    fields.Due = Date({"due"});
    fields.Latitude = Number("latitude");
    fields.Longitude = Number("longitude");
    fields.Altitude = Number("altitude");
    if (const TYamlMember* completed = Find({"completed?"})) {
      const std::string said = Platform::AsciiLowerCase(TrimText(completed->Value.Text));
      fields.Completed =
          completed->Value.Kind == TYamlValue::TKind::Scalar && (said == "yes" || said == "true");
    }
  }

 private:
  // The first of the keys that the block has, in the order given.
  const TYamlMember* Find(std::initializer_list<std::string_view> keys) const {
    for (const std::string_view key : keys) {
      for (const auto& member : *FMembers) {
        if (Kestrel::CommonLib::SameText(member.Key, key))
          return &member;
      }
    }
    return nullptr;
  }

  // A scalar's text, trimmed of nothing: the block's own quoting says what it holds.
  std::optional<std::string> Text(std::string_view key) {
    const TYamlMember* member = Find({key});
    if (member == nullptr)
      return std::nullopt;
    if (member->Value.Kind != TYamlValue::TKind::Scalar) {
      Warn(*member, "is no text");
      return std::nullopt;
    }
    return member->Value.Text;
  }

  std::optional<std::int64_t> Date(std::initializer_list<std::string_view> keys) {
    const TYamlMember* member = Find(keys);
    if (member == nullptr)
      return std::nullopt;
    std::optional<std::int64_t> date;
    if (member->Value.Kind == TYamlValue::TKind::Scalar)
      date = ReadFrontMatterDate(member->Value.Text);
    if (!date) {
      Warn(*member, "is not a date");
    } else if (*date < 0) {
      // Joplin refuses a time before 1970, and then holds the note's id
      // locked: the field is left out.
      Warn(*member, "is before 1970, which Joplin cannot store");
      date.reset();
    }
    return date;
  }

  std::optional<double> Number(std::string_view key) {
    const TYamlMember* member = Find({key});
    if (member == nullptr)
      return std::nullopt;
    std::optional<double> number;
    if (member->Value.Kind == TYamlValue::TKind::Scalar)
      number = NumberOf(member->Value.Text);
    if (!number)
      Warn(*member, "is not a number");
    return number;
  }

  void Warn(const TYamlMember& member, std::string_view problem) {
    std::string value = member.Value.Kind == TYamlValue::TKind::Scalar
                            ? " " + Quoted(member.Value.Text)
                            : std::string();
    FWarnings.push_back(
        std::string(FSource) + ", line " + std::to_string(FFirstLine + member.Value.Line - 1) +
        ": " + Quoted(member.Key) + value + " " + std::string(problem) + "; the key is skipped");
  }

  std::string_view FSource;
  int FFirstLine;
  std::vector<std::string>& FWarnings;
  const std::vector<TYamlMember>* FMembers = nullptr;
};

}  // namespace

TFrontMatterSearch FindFrontMatter(std::string_view text, TFrontMatterBlock& block) {
  size_t start = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  size_t next = 0;
  if (!IsFence(LineAt(text, start, next), false) || next == start)
    return TFrontMatterSearch::None;
  const size_t yamlStart = next;
  for (size_t pos = yamlStart; pos < text.size(); pos = next) {
    if (!IsFence(LineAt(text, pos, next), true))
      continue;
    block.Yaml = text.substr(yamlStart, pos - yamlStart);
    block.FirstLine = 2;
    size_t afterBlank = 0;
    if (next < text.size() && TrimText(LineAt(text, next, afterBlank)).empty())
      next = afterBlank;
    block.BodyStart = next;
    return TFrontMatterSearch::Found;
  }
  return TFrontMatterSearch::Unclosed;
}

TFrontMatter ReadFrontMatter(const TFrontMatterBlock& block, std::string_view source,
                             std::vector<std::string>& warnings) {
  if (block.Yaml.size() > kMaxFrontMatterBytes) {
    throw EFrontMatterError(std::string(source) + ": the front matter is longer than " +
                            std::to_string(kMaxFrontMatterBytes / 1024) + " KiB" + kWayOut);
  }
  std::vector<TYamlMember> members;
  try {
    members = ReadYamlMap(block.Yaml);
  } catch (const EYamlError& error) {
    throw EFrontMatterError(
        std::string(source) + ", line " + std::to_string(block.FirstLine + error.Line - 1) +
        ": the front matter is no valid YAML map (" + error.what() + ")" + kWayOut);
  }
  TFrontMatter fields;
  TFieldReader(source, block.FirstLine, warnings).Read(members, fields);
  return fields;
}

std::optional<std::int64_t> ReadFrontMatterDate(std::string_view text) {
  TDateCursor cursor(TrimText(text));
  Kestrel::CommonLib::TDateTimeFields fields;
  const auto year = Digits(cursor, 4, 4);
  if (!year || !cursor.Literal("-"))
    return std::nullopt;
  const auto month = Digits(cursor, 1, 2);
  if (!month || !cursor.Literal("-"))
    return std::nullopt;
  const auto day = Digits(cursor, 1, 2);
  if (!day || !Kestrel::CommonLib::IsValidDate(*year, *month, *day))
    return std::nullopt;
  fields.Year = *year;
  fields.Month = *month;
  fields.Day = *day;
  std::optional<int> offset;
  if (!cursor.AtEnd()) {
    if (!cursor.Word("T"))
      SkipBlanks(cursor);
    const auto hour = Digits(cursor, 1, 2);
    if (!hour || !cursor.Literal(":"))
      return std::nullopt;
    const auto minute = Digits(cursor, 2, 2);
    if (!minute)
      return std::nullopt;
    fields.Hour = *hour;
    fields.Minute = *minute;
    if (cursor.Literal(":")) {
      const auto second = Digits(cursor, 2, 2);
      if (!second)
        return std::nullopt;
      fields.Second = *second;
      if (cursor.Literal(".") || cursor.Literal(","))
        fields.Millisecond = FractionMs(cursor.DigitRun());
    }
    if (fields.Hour > 23 || fields.Minute > 59 || fields.Second > 59)
      return std::nullopt;
    SkipBlanks(cursor);
    if (!cursor.AtEnd()) {
      offset = ZoneOffset(cursor);
      if (!offset || !cursor.AtEnd())
        return std::nullopt;
    }
  }
  const int ms = fields.Millisecond;
  if (offset) {
    const std::int64_t days = Platform::DaysSinceUnixEpoch(fields.Year, fields.Month, fields.Day);
    const std::int64_t seconds = days * 86400 + fields.Hour * 3600 + fields.Minute * 60 +
                                 fields.Second - std::int64_t{*offset} * 60;
    return seconds * 1000 + ms;
  }
  fields.Millisecond = 0;
  try {
    return DateTimeToUnixMs(Kestrel::CommonLib::EncodeDateTime(fields)) + ms;
  } catch (const EInvalidLocalTime&) {
    return std::nullopt;  // an hour that the clocks skip
  }
}

}  // namespace JoplinRestUtils
