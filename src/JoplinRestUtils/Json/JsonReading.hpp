#pragma once
// How the client reads members of a JSON answer. An empty or invalid text is
// no value (no error); a value of the wrong kind is EInvalidCast; a missing
// member is EJsonError naming it; texts come from strings, numbers as written,
// true/false, and null as the empty text.
#include <optional>
#include <string>
#include <string_view>

#include "JoplinRestUtils/Json/Json.hpp"
#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

class EInvalidCast : public Platform::Error {
 public:
  EInvalidCast() : Error("Invalid class typecast") {}
  const char* KindName() const noexcept override { return "EInvalidCast"; }
};

class EJsonError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EJSONException"; }
};

// The answer as a JSON object; nothing for an empty or invalid text. Throws
// EInvalidCast for JSON that is not an object.
std::optional<TJsonValue> ParseAnswerObject(std::string_view text);

// The parsed answer as an object; EInvalidCast for any other JSON value.
const TJsonValue& AnswerObject(const TJsonValue& value);

// The member as an array: EJsonError when missing, EInvalidCast when no array.
const TJsonValue& ReadArrayMember(const TJsonValue& object, std::string_view name);

// The member as text: EJsonError when missing or an object or array.
std::string ReadTextMember(const TJsonValue& object, std::string_view name);

// The member as text, or empty when it is missing or cannot be read as text.
std::string ReadOptionalTextMember(const TJsonValue& object, std::string_view name);

// The non-empty "id" of a parsed answer object (that also holds a "title"
// when `needsTitle`); false otherwise, `id` untouched. Never throws.
bool ReadAnswerId(const std::optional<TJsonValue>& answer, std::string& id, bool needsTitle);

// Reads "id" (stored at once) and "title" of an answer object; false on any
// failure, with `id` possibly already set. Never throws.
bool ParseIdAndTitle(std::string_view AJsonStr, std::string& id, std::string& title);

}  // namespace JoplinRestUtils
