#include "JoplinRestUtils/Json.hpp"

#include "Platform/Utf8.hpp"

namespace JoplinRestUtils {
namespace {

void AppendUnitEscape(std::string& out, unsigned unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(unit >> shift) & 0xF];
}

void WriteString(std::string& out, std::string_view text, TJsonEscaping escaping) {
  out += '"';
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const char32_t cp = Platform::NextCodePoint(text, pos);
    switch (cp) {
      case '"':
        out += "\\\"";
        continue;
      case '\\':
        out += "\\\\";
        continue;
      case '/':
        out += "\\/";
        continue;
      case '\b':
        out += "\\b";
        continue;
      case '\t':
        out += "\\t";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\f':
        out += "\\f";
        continue;
      case '\r':
        out += "\\r";
        continue;
      default:
        break;
    }
    if (cp < 0x20 && escaping.ControlChars) {
      AppendUnitEscape(out, static_cast<unsigned>(cp));
    } else if (cp >= 0x80 && escaping.NonAscii) {
      if (cp >= 0x10000) {
        AppendUnitEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
        AppendUnitEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
      } else {
        AppendUnitEscape(out, static_cast<unsigned>(cp));
      }
    } else if (cp == Platform::kReplacementChar && pos - start == 1) {
      Platform::AppendUtf8(out, cp);  // an ill-formed byte goes out as U+FFFD
    } else {
      out.append(text.substr(start, pos - start));
    }
  }
  out += '"';
}

void WriteScalar(std::string& out, const TJsonValue& value, TJsonEscaping escaping) {
  if (value.is_string()) {
    WriteString(out, value.get_ref<const std::string&>(), escaping);
  } else if (IsRawJsonNumber(value)) {
    out += RawJsonNumberText(value);
  } else {
    out += value.dump();  // numbers, true, false, null
  }
}

void WriteCompact(std::string& out, const TJsonValue& value, TJsonEscaping escaping) {
  if (value.is_object()) {
    out += '{';
    bool first = true;
    for (const auto& [name, member] : value.items()) {
      if (!first)
        out += ',';
      first = false;
      WriteString(out, name, escaping);
      out += ':';
      WriteCompact(out, member, escaping);
    }
    out += '}';
  } else if (value.is_array()) {
    out += '[';
    bool first = true;
    for (const auto& element : value) {
      if (!first)
        out += ',';
      first = false;
      WriteCompact(out, element, escaping);
    }
    out += ']';
  } else {
    WriteScalar(out, value, escaping);
  }
}

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
  std::string out;
  WriteCompact(out, value, escaping);
  return out;
}

std::string WriteJsonIndented(const TJsonValue& value) {
  std::string out;
  WriteIndented(out, value, 0);
  return out;
}

}  // namespace JoplinRestUtils
