// The text file loader and its decoders: the first byte picks the encoding
// named by the caller; the rest is the file.
#include "Kestrel/CommonLib/Text/LineBreaks.hpp"
#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  using Platform::TextEncoding;
  constexpr TextEncoding kEncodings[] = {TextEncoding::Utf8, TextEncoding::Ansi,
                                         TextEncoding::Utf16Le, TextEncoding::Utf7};
  const TextEncoding encoding = kEncodings[data[0] % 4];
  const std::string_view bytes = Fuzz::AsText(data + 1, size - 1);
  std::string text;
  Platform::DecodeBytes(bytes, encoding, text);
  const std::string& path = Fuzz::WriteScratch(bytes, ".md");
  Kestrel::CommonLib::LoadTextFile(path, text, std::nullopt);
  Kestrel::CommonLib::TTextLoadFailure failure;
  if (Kestrel::CommonLib::LoadTextFileHonouringMark(path, encoding, text, failure))
    Kestrel::CommonLib::JoinedLines(text);
  return 0;
}
