#include "JoplinRestUtils/Json/JsonReading.hpp"

namespace JoplinRestUtils {
namespace {

const TJsonValue& Member(const TJsonValue& object, std::string_view name) {
  if (!object.is_object())
    throw EInvalidCast();
  const auto found = object.find(name);
  if (found == object.end())
    throw EJsonError("Value '" + std::string(name) + "' not found");
  return *found;
}

const char* KindOf(const TJsonValue& value) {
  return value.is_object() ? "TJSONObject" : "TJSONArray";
}

}  // namespace

std::optional<TJsonValue> ParseAnswerObject(std::string_view text) {
  std::optional<TJsonValue> value = ParseJson(text);
  if (value)
    AnswerObject(*value);
  return value;
}

const TJsonValue& AnswerObject(const TJsonValue& value) {
  if (!value.is_object())
    throw EInvalidCast();
  return value;
}

const TJsonValue& ReadArrayMember(const TJsonValue& object, std::string_view name) {
  const TJsonValue& member = Member(object, name);
  if (!member.is_array())
    throw EInvalidCast();
  return member;
}

std::string ReadTextMember(const TJsonValue& object, std::string_view name) {
  const TJsonValue& member = Member(object, name);
  if (member.is_string())
    return member.get<std::string>();
  if (member.is_null())
    return {};
  if (IsRawJsonNumber(member))
    return RawJsonNumberText(member);
  if (member.is_object() || member.is_array())
    throw EJsonError(std::string("Conversion from ") + KindOf(member) +
                     " to string is not supported");
  return member.dump();  // numbers as written, true and false
}

std::string ReadOptionalTextMember(const TJsonValue& object, std::string_view name) {
  const auto found = object.find(name);
  if (found == object.end() || found->is_object() || found->is_array())
    return {};
  return ReadTextMember(object, name);
}

bool ReadAnswerId(const std::optional<TJsonValue>& answer, std::string& id, bool needsTitle) {
  try {
    if (!answer || !answer->is_object())
      return false;
    std::string found = ReadTextMember(*answer, "id");
    if (needsTitle)
      ReadTextMember(*answer, "title");
    if (found.empty())
      return false;
    id = std::move(found);
    return true;
  } catch (const Platform::Error&) {
    return false;
  }
}

bool ParseIdAndTitle(std::string_view AJsonStr, std::string& id, std::string& title) {
  try {
    const std::optional<TJsonValue> object = ParseAnswerObject(AJsonStr);
    if (!object)
      return false;
    id = ReadTextMember(*object, "id");
    title = ReadTextMember(*object, "title");
    return true;
  } catch (const Platform::Error&) {
    return false;
  }
}

}  // namespace JoplinRestUtils
