#include "Platform/Text/TextDecoding.hpp"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

#include "Platform/Text/Utf16.hpp"
#include "Platform/Text/Utf8.hpp"
#include "Platform/Text/Windows1252.hpp"

namespace Platform {
namespace {

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
  text = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(units.data()),
                                         static_cast<size_t>(length)));
  return true;
}

}  // namespace

const std::string& AnsiCodePageName() {
  static const std::string name = "Windows-1252";
  return name;
}

bool DecodeBytes(std::string_view bytes, TextEncoding encoding, std::string& text) {
  switch (encoding) {
    case TextEncoding::Utf8:
      if (!IsValidUtf8(bytes))
        return false;
      text.assign(bytes);
      return true;
    case TextEncoding::Ansi:
      text = DecodeWindows1252(bytes);
      return true;
    case TextEncoding::Utf16Le:
      text = DecodeUtf16LeBytes(bytes);
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
