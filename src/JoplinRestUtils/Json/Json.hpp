#pragma once
// JSON values with member order kept, and the two written forms of the wire:
// compact (with a choice of escaping control and non-ASCII characters, one
// upper-case \u escape per UTF-16 code unit, "/" always as "\/") and indented
// (CR LF line breaks, four spaces a level, no optional escaping).
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "JoplinRestUtils/Json/JsonEscape.hpp"

namespace JoplinRestUtils {

using TJsonValue = nlohmann::ordered_json;

std::string WriteJsonCompact(const TJsonValue& value, TJsonEscaping escaping);

// Told the compact form of a value in order: its punctuation and other
// scalars as text, and each string (member names too) as its unescaped
// contents, for the receiver to quote and escape.
class TJsonCompactSink {
 public:
  virtual ~TJsonCompactSink() = default;
  virtual void Text(std::string_view text) = 0;
  virtual void String(std::string_view contents) = 0;
};
void WalkJsonCompact(const TJsonValue& value, TJsonCompactSink& sink);
std::string WriteJsonIndented(const TJsonValue& value);

// How deep the containers of an answer may nest; deeper text is no answer.
inline constexpr size_t kMaxAnswerDepth = 100;

// The parsed text, or nothing when it is empty, not JSON, or nested deeper
// than any answer is (kMaxAnswerDepth levels). A number with a fraction or an exponent,
// or too large for 64 bits, is kept as its text (a raw number, below), so that
// 1.50 stays "1.50" and 12345678901234567890123 is not rounded.
std::optional<TJsonValue> ParseJson(std::string_view text);

// A number kept as written: a binary value of its own subtype, which JSON text
// never yields otherwise. The writers write it back as the number it was.
inline constexpr std::uint8_t kRawNumberSubtype = 0x4E;
TJsonValue RawJsonNumber(std::string_view text);
bool IsRawJsonNumber(const TJsonValue& value);
std::string RawJsonNumberText(const TJsonValue& value);

}  // namespace JoplinRestUtils
