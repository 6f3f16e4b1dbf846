#include "JoplinRestUtils/Json/JsonEscape.hpp"

#include <array>
#include <cstring>
#include <utility>

#include "Platform/Text/Utf8.hpp"

namespace JoplinRestUtils {
namespace {

// The short escapes: each character with the letter after its backslash.
constexpr std::array<std::pair<char, char>, 8> kShortEscapes{{{'"', '"'},
                                                              {'\\', '\\'},
                                                              {'/', '/'},
                                                              {'\b', 'b'},
                                                              {'\t', 't'},
                                                              {'\n', 'n'},
                                                              {'\f', 'f'},
                                                              {'\r', 'r'}}};

constexpr char ShortEscapeLetter(unsigned char byte) {
  for (const auto& [character, letter] : kShortEscapes) {
    if (static_cast<unsigned char>(character) == byte)
      return letter;
  }
  return '\0';
}

// The written length of each ASCII byte: 1 for the byte itself, 2 for a
// short escape, 6 for a \u escape.
using TAsciiLengths = std::array<unsigned char, 128>;

constexpr TAsciiLengths MakeAsciiLengths(bool escapeControls) {
  TAsciiLengths lengths{};
  for (unsigned byte = 0; byte < 128; ++byte) {
    if (ShortEscapeLetter(static_cast<unsigned char>(byte)) != '\0')
      lengths[byte] = 2;
    else if (byte < 0x20 && escapeControls)
      lengths[byte] = 6;
    else
      lengths[byte] = 1;
  }
  return lengths;
}

constexpr TAsciiLengths kLengthsEscapingControls = MakeAsciiLengths(true);
constexpr TAsciiLengths kLengthsKeepingControls = MakeAsciiLengths(false);

const TAsciiLengths& AsciiLengths(TJsonEscaping escaping) {
  return escaping.ControlChars ? kLengthsEscapingControls : kLengthsKeepingControls;
}

size_t WriteUnitEscape(char* out, unsigned unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out[0] = '\\';
  out[1] = 'u';
  for (int i = 0; i < 4; ++i)
    out[2 + i] = kHex[(unit >> (12 - 4 * i)) & 0xF];
  return 6;
}

size_t WriteAsciiEscape(char* out, unsigned char byte) {
  if (const char letter = ShortEscapeLetter(byte); letter != '\0') {
    out[0] = '\\';
    out[1] = letter;
    return 2;
  }
  return WriteUnitEscape(out, byte);
}

// One character of two or more bytes (or an ill-formed byte) at `pos`.
struct TWideCharacter {
  char32_t CodePoint;
  size_t Bytes;
  bool IllFormed() const { return CodePoint == Platform::kReplacementChar && Bytes == 1; }
};

TWideCharacter ReadWide(std::string_view text, size_t pos) {
  size_t next = pos;
  const char32_t cp = Platform::NextCodePoint(text, next);
  return {cp, next - pos};
}

size_t WideLength(const TWideCharacter& c, TJsonEscaping escaping) {
  if (escaping.NonAscii)
    return c.CodePoint >= 0x10000 ? 12 : 6;
  return c.IllFormed() ? 3 : c.Bytes;
}

size_t WriteWide(char* out, std::string_view text, size_t pos, const TWideCharacter& c,
                 TJsonEscaping escaping) {
  if (escaping.NonAscii) {
    if (c.CodePoint < 0x10000)
      return WriteUnitEscape(out, static_cast<unsigned>(c.CodePoint));
    const size_t high = WriteUnitEscape(out, 0xD800 + ((c.CodePoint - 0x10000) >> 10));
    return high + WriteUnitEscape(out + high, 0xDC00 + ((c.CodePoint - 0x10000) & 0x3FF));
  }
  if (c.IllFormed()) {
    std::memcpy(out, "\xEF\xBF\xBD", 3);  // an ill-formed byte goes out as U+FFFD
    return 3;
  }
  std::memcpy(out, text.data() + pos, c.Bytes);
  return c.Bytes;
}

}  // namespace

char ShortEscapedChar(char letter) {
  for (const auto& [character, escapeLetter] : kShortEscapes) {
    if (escapeLetter == letter)
      return character;
  }
  return '\0';
}

size_t WriteJsonEscapedPiece(std::string_view text, size_t& pos, TJsonEscaping escaping, char* out,
                             size_t room) {
  const TAsciiLengths& lengths = AsciiLengths(escaping);
  size_t written = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80 && lengths[byte] == 1) {
      if (written == room)
        break;
      out[written++] = static_cast<char>(byte);
      ++pos;
      continue;
    }
    if (byte < 0x80) {
      if (room - written < lengths[byte])
        break;
      written += WriteAsciiEscape(out + written, byte);
      ++pos;
      continue;
    }
    const TWideCharacter wide = ReadWide(text, pos);
    if (room - written < WideLength(wide, escaping))
      break;
    written += WriteWide(out + written, text, pos, wide, escaping);
    pos += wide.Bytes;
  }
  return written;
}

void AppendJsonEscaped(std::string& out, std::string_view text, TJsonEscaping escaping) {
  char buffer[4096];
  size_t pos = 0;
  while (pos < text.size())
    out.append(buffer, WriteJsonEscapedPiece(text, pos, escaping, buffer, sizeof buffer));
}

size_t JsonEscapedLength(std::string_view text, TJsonEscaping escaping) {
  const TAsciiLengths& lengths = AsciiLengths(escaping);
  size_t length = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      length += lengths[byte];
      ++pos;
      continue;
    }
    const TWideCharacter wide = ReadWide(text, pos);
    length += WideLength(wide, escaping);
    pos += wide.Bytes;
  }
  return length;
}

}  // namespace JoplinRestUtils
