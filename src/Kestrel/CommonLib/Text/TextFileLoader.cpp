#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"

#include "Platform/Files/Files.hpp"
#include "Platform/Text/TextDecoding.hpp"

namespace Kestrel::CommonLib {
namespace {

constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 31;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Signature {
  std::string_view Bytes;
  TextEncoding Encoding;
  size_t Skip;
};

constexpr Signature kSignatures[] = {
    {kByteOrderMark, TextEncoding::Utf8, 3},
    {"\xFF\xFE", TextEncoding::Utf16Le, 2},
    // UTF-7 is decoded from its first byte and the decoded mark dropped: the
    // mark's fourth byte may already carry bits of the first character.
    {"+/v", TextEncoding::Utf7, 0},
};

// The encoding and the bytes to skip for a file without a named encoding.
Signature DetectSignature(std::string_view head) {
  for (const auto& signature : kSignatures) {
    if (head.starts_with(signature.Bytes))
      return signature;
  }
  return {"", TextEncoding::Utf8, 0};
}

constexpr Signature kByteOrderMarks[] = {
    {kByteOrderMark, TextEncoding::Utf8, 3},
    {"\xFF\xFE", TextEncoding::Utf16Le, 2},
};

std::string_view EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return "UTF-8";
    case TextEncoding::Ansi:
      return Platform::AnsiCodePageName();
    case TextEncoding::Utf16Le:
      return "UTF-16LE";
    case TextEncoding::Utf7:
      return "UTF-7";
  }
  return "text";
}

}  // namespace

bool LoadTextFileHonouringMark(const std::string& path, TextEncoding encoding, std::string& text,
                               TTextLoadFailure& failure) {
  std::string bytes;
  // Room for joining the lines of a UTF-8 text in place.
  if (!Platform::ReadWholeFile(path, bytes, kMaxFileSize, failure.Reason, 1,
                               Platform::FileKinds::AlsoStreams)) {
    failure.Undecodable = false;
    return false;
  }
  for (const auto& mark : kByteOrderMarks) {
    if (std::string_view(bytes).starts_with(mark.Bytes)) {
      encoding = mark.Encoding;
      bytes.erase(0, mark.Skip);
      break;
    }
  }
  if (Platform::DecodeBytes(std::move(bytes), encoding, text))
    return true;
  failure.Reason = "is not valid " + std::string(EncodingName(encoding));
  failure.Undecodable = true;
  return false;
}

bool LoadTextFile(const std::string& path, std::string& text,
                  std::optional<TextEncoding> encoding) {
  if (!Platform::FileExists(path))
    return false;
  std::string bytes;
  if (!Platform::ReadWholeFile(path, bytes, kMaxFileSize))
    return false;
  bool dropDecodedMark = false;
  if (!encoding) {
    if (bytes.size() < 4)
      return false;
    const Signature signature = DetectSignature(bytes);
    encoding = signature.Encoding;
    bytes.erase(0, signature.Skip);
    dropDecodedMark = signature.Encoding == TextEncoding::Utf7;
  }
  if (!dropDecodedMark)
    return Platform::DecodeBytes(std::move(bytes), *encoding, text);
  std::string decoded;
  if (!Platform::DecodeBytes(std::move(bytes), *encoding, decoded))
    return false;
  if (decoded.starts_with(kByteOrderMark))
    decoded.erase(0, kByteOrderMark.size());
  text = std::move(decoded);
  return true;
}

}  // namespace Kestrel::CommonLib
