#include "Platform/Text/Utf8.hpp"

namespace Platform {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Decodes one well-formed sequence; returns its length, or 0 when ill-formed.
size_t DecodeOne(std::string_view text, char32_t& codePoint) {
  if (text.empty())
    return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length)
    return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte))
      return 0;
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  codePoint = value;
  return length;
}

}  // namespace

size_t Utf8SequenceLength(std::string_view text) {
  char32_t ignored = 0;
  const size_t length = DecodeOne(text, ignored);
  return length == 0 ? 1 : length;
}

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  char32_t codePoint = kReplacementChar;
  const size_t length = DecodeOne(text.substr(pos), codePoint);
  pos += length == 0 ? 1 : length;
  return length == 0 ? kReplacementChar : codePoint;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsValidUtf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    // ASCII runs are by far the most common; skip them without decoding.
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t ignored = 0;
    const size_t length = DecodeOne(text.substr(pos), ignored);
    if (length == 0)
      return false;
    pos += length;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text) {
  if (IsValidUtf8(text))
    return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size())
    AppendUtf8(out, NextCodePoint(text, pos));
  return out;
}

std::vector<char32_t> DecodeCodePoints(std::string_view text) {
  std::vector<char32_t> codePoints;
  codePoints.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size())
    codePoints.push_back(NextCodePoint(text, pos));
  return codePoints;
}

size_t Utf16Length(std::string_view text) {
  size_t units = 0;
  size_t pos = 0;
  while (pos < text.size())
    units += NextCodePoint(text, pos) >= 0x10000 ? 2 : 1;
  return units;
}

std::string_view Utf16Prefix(std::string_view text, size_t maxUnits) {
  size_t units = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos;
    const size_t width = NextCodePoint(text, next) >= 0x10000 ? 2 : 1;
    if (units + width > maxUnits)
      break;
    units += width;
    pos = next;
  }
  return text.substr(0, pos);
}

}  // namespace Platform
