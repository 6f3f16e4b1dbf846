#pragma once
// UTF-8 helpers shared by every layer: code-point iteration, strict
// validation, lenient repair and UTF-16 length.
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Length in bytes of the well-formed sequence at the start of `text`, or 1
// when it is ill-formed (so that a caller can skip one byte and go on).
size_t Utf8SequenceLength(std::string_view text);

// Decodes the code point at `pos` and advances `pos`; an ill-formed byte gives
// U+FFFD and advances by one.
char32_t NextCodePoint(std::string_view text, size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);

// Strict RFC 3629 check: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The text with every ill-formed byte replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

std::vector<char32_t> DecodeCodePoints(std::string_view text);

// Number of UTF-16 code units the text takes.
size_t Utf16Length(std::string_view text);

// The longest prefix of `text` that fits in `maxUnits` UTF-16 code units
// without splitting a character.
std::string_view Utf16Prefix(std::string_view text, size_t maxUnits);

}  // namespace Platform
