#include "JoplinRestUtils/Json/Json.hpp"

namespace JoplinRestUtils {
namespace {

void WriteString(std::string& out, std::string_view text, TJsonEscaping escaping) {
  out += '"';
  AppendJsonEscaped(out, text, escaping);
  out += '"';
}

std::string ScalarText(const TJsonValue& value) {
  return IsRawJsonNumber(value) ? RawJsonNumberText(value) : value.dump();
}

void WriteScalar(std::string& out, const TJsonValue& value, TJsonEscaping escaping) {
  if (value.is_string()) {
    WriteString(out, value.get_ref<const std::string&>(), escaping);
  } else {
    out += ScalarText(value);  // numbers, true, false, null
  }
}

void WalkCompact(const TJsonValue& value, TJsonCompactSink& sink) {
  if (value.is_object()) {
    sink.Text("{");
    bool first = true;
    for (const auto& [name, member] : value.items()) {
      sink.Text(first ? "" : ",");
      first = false;
      sink.String(name);
      sink.Text(":");
      WalkCompact(member, sink);
    }
    sink.Text("}");
  } else if (value.is_array()) {
    sink.Text("[");
    bool first = true;
    for (const auto& element : value) {
      sink.Text(first ? "" : ",");
      first = false;
      WalkCompact(element, sink);
    }
    sink.Text("]");
  } else if (value.is_string()) {
    sink.String(value.get_ref<const std::string&>());
  } else {
    sink.Text(ScalarText(value));
  }
}

// The compact text whole, in one string.
class TCompactText : public TJsonCompactSink {
 public:
  explicit TCompactText(TJsonEscaping escaping) : FEscaping(escaping) {}
  void Text(std::string_view text) override { FOut += text; }
  void String(std::string_view contents) override { WriteString(FOut, contents, FEscaping); }
  std::string Take() { return std::move(FOut); }

 private:
  TJsonEscaping FEscaping;
  std::string FOut;
};

void WriteIndented(std::string& out, const TJsonValue& value, size_t indent) {
  constexpr TJsonEscaping kNoEscaping{false, false};
  if (!value.is_object() && !value.is_array()) {
    WriteScalar(out, value, kNoEscaping);
    return;
  }
  const bool object = value.is_object();
  out += object ? "{\r\n" : "[\r\n";
  const std::string inner(indent + 4, ' ');
  size_t left = value.size();
  for (const auto& [name, member] : value.items()) {
    out += inner;
    if (object) {
      WriteString(out, name, kNoEscaping);
      out += ": ";
    }
    WriteIndented(out, member, indent + 4);
    out += --left > 0 ? ",\r\n" : "\r\n";
  }
  out += std::string(indent, ' ');
  out += object ? '}' : ']';
}

}  // namespace

std::string WriteJsonCompact(const TJsonValue& value, TJsonEscaping escaping) {
  TCompactText text(escaping);
  WalkCompact(value, text);
  return text.Take();
}

void WalkJsonCompact(const TJsonValue& value, TJsonCompactSink& sink) {
  WalkCompact(value, sink);
}

std::string WriteJsonIndented(const TJsonValue& value) {
  std::string out;
  WriteIndented(out, value, 0);
  return out;
}

}  // namespace JoplinRestUtils
