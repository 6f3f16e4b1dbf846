#include "Platform/TextDecoding.hpp"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <array>
#include <memory>
#include <vector>

#include "Platform/Utf8.hpp"

namespace Platform {
namespace {

// Windows-1252 for bytes 80..9F; the five bytes it leaves undefined map to the
// code points of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string DecodeCp1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 4);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      AppendUtf8(text, byte < 0xA0 ? kCp1252High[byte - 0x80] : byte);
    }
  }
  return text;
}

std::string Utf16ToUtf8(const char16_t* units, size_t count) {
  std::string text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(text, kReplacementChar);
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

std::string DecodeUtf16Le(std::string_view bytes) {
  std::vector<char16_t> units(bytes.size() / 2);
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return Utf16ToUtf8(units.data(), units.size());
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterHandle = std::unique_ptr<UConverter, ConverterCloser>;

bool DecodeUtf7(std::string_view bytes, std::string& text) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterHandle converter(ucnv_open("UTF-7", &status));
  if (U_FAILURE(status))
    return false;
  std::vector<UChar> units(bytes.size() + 1);
  const int32_t length =
      ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()), bytes.data(),
                    static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status))
    return false;
  text = Utf16ToUtf8(reinterpret_cast<const char16_t*>(units.data()), static_cast<size_t>(length));
  return true;
}

}  // namespace

bool DecodeBytes(std::string_view bytes, TextEncoding encoding, std::string& text) {
  switch (encoding) {
    case TextEncoding::Utf8:
      if (!IsValidUtf8(bytes))
        return false;
      text.assign(bytes);
      return true;
    case TextEncoding::Ansi:
      text = DecodeCp1252(bytes);
      return true;
    case TextEncoding::Utf16Le:
      text = DecodeUtf16Le(bytes);
      return true;
    case TextEncoding::Utf7:
      return DecodeUtf7(bytes, text);
  }
  return false;
}

bool DecodeBytes(std::string&& bytes, TextEncoding encoding, std::string& text) {
  if (encoding != TextEncoding::Utf8)
    return DecodeBytes(std::string_view(bytes), encoding, text);
  if (!IsValidUtf8(bytes))
    return false;
  text = std::move(bytes);
  return true;
}

}  // namespace Platform
