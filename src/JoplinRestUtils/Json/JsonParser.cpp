// Reading JSON answers: nlohmann's SAX parser with our own builder, so that a
// nesting too deep to be an answer is refused before it costs memory or stack,
// and numbers that would not read back as written keep their text.
#include <vector>

#include "JoplinRestUtils/Json/Json.hpp"

namespace JoplinRestUtils {
namespace {

class AnswerBuilder {
 public:
  explicit AnswerBuilder(TJsonValue& root) : FRoot(root) {}

  bool null() { return Put(nullptr) != nullptr; }
  bool boolean(bool value) { return Put(value) != nullptr; }
  bool number_integer(TJsonValue::number_integer_t value) { return Put(value) != nullptr; }
  bool number_unsigned(TJsonValue::number_unsigned_t value) { return Put(value) != nullptr; }
  bool number_float(TJsonValue::number_float_t, const std::string& text) {
    return Put(RawJsonNumber(text)) != nullptr;
  }
  bool string(std::string& value) { return Put(std::move(value)) != nullptr; }
  bool binary(TJsonValue::binary_t&) { return false; }
  bool start_object(std::size_t) { return Open(TJsonValue::object()); }
  bool key(std::string& name) {
    FKey = std::move(name);
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(std::size_t) { return Open(TJsonValue::array()); }
  bool end_array() { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
  }

 private:
  // Places the value where the text has it and returns it in its place. Only
  // the open containers are remembered, and nothing moves them while open.
  TJsonValue* Put(TJsonValue value) {
    if (FOpen.empty()) {
      FRoot = std::move(value);
      return &FRoot;
    }
    TJsonValue& parent = *FOpen.back();
    if (parent.is_array()) {
      parent.push_back(std::move(value));
      return &parent.back();
    }
    TJsonValue& member = parent[FKey];
    member = std::move(value);
    return &member;
  }

  bool Open(TJsonValue container) {
    if (FOpen.size() >= kMaxAnswerDepth)
      return false;
    FOpen.push_back(Put(std::move(container)));
    return true;
  }

  bool Close() {
    FOpen.pop_back();
    return true;
  }

  TJsonValue& FRoot;
  std::vector<TJsonValue*> FOpen;
  std::string FKey;
};

}  // namespace

TJsonValue RawJsonNumber(std::string_view text) {
  return TJsonValue::binary(std::vector<std::uint8_t>(text.begin(), text.end()), kRawNumberSubtype);
}

bool IsRawJsonNumber(const TJsonValue& value) {
  return value.is_binary() && value.get_binary().has_subtype() &&
         value.get_binary().subtype() == kRawNumberSubtype;
}

std::string RawJsonNumberText(const TJsonValue& value) {
  const auto& bytes = value.get_binary();
  return std::string(bytes.begin(), bytes.end());
}

std::optional<TJsonValue> ParseJson(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  TJsonValue value;
  AnswerBuilder builder(value);
  if (!TJsonValue::sax_parse(text, &builder))
    return std::nullopt;
  return value;
}

}  // namespace JoplinRestUtils
