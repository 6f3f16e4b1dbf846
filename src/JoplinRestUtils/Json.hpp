#pragma once
// JSON values with member order kept, and the two written forms of the wire:
// compact (with a choice of escaping control and non-ASCII characters, one
// upper-case \u escape per UTF-16 code unit, "/" always as "\/") and indented
// (CR LF line breaks, four spaces a level, no optional escaping).
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace JoplinRestUtils {

using TJsonValue = nlohmann::ordered_json;

struct TJsonEscaping {
  bool ControlChars = true;
  bool NonAscii = true;
};

std::string WriteJsonCompact(const TJsonValue& value, TJsonEscaping escaping);
std::string WriteJsonIndented(const TJsonValue& value);

// The parsed text, or nothing when it is empty or not JSON.
std::optional<TJsonValue> ParseJson(std::string_view text);

}  // namespace JoplinRestUtils
