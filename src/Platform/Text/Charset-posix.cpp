#include "Platform/Text/Charset.hpp"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <optional>
#include <utility>

#include "Platform/Text/Utf8.hpp"

namespace Platform {
namespace {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (Valid())
      iconv_close(FHandle);
  }
  IconvHandle(IconvHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, Invalid())) {}
  IconvHandle& operator=(IconvHandle&&) = delete;
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  bool Valid() const { return FHandle != Invalid(); }
  iconv_t Get() const { return FHandle; }

 private:
  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t FHandle;
};

std::string LocaleCodeset() {
  InitLocale();
  const char* codeset = nl_langinfo(CODESET);
  return codeset ? codeset : "";
}

bool IsUtf8Name(const std::string& name) {
  return name == "UTF-8" || name == "utf8" || name == "UTF8" || name == "utf-8";
}

// Runs iconv over the whole input; a sequence it cannot convert is replaced by
// `replacement` and one input byte (decoding) or one code point (encoding) is skipped.
std::string Convert(IconvHandle& handle, std::string_view input, std::string_view replacement,
                    bool skipCodePoint) {
  std::string output;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(handle.Get(), &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<size_t>(out - buffer));
    if (rc != static_cast<size_t>(-1) || errno == E2BIG)
      continue;
    output.append(replacement);
    size_t skip = 1;
    if (skipCodePoint)
      skip = Utf8SequenceLength(std::string_view(in, inLeft));
    in += skip;
    inLeft -= skip;
    iconv(handle.Get(), nullptr, nullptr, nullptr, nullptr);
  }
  char* out = buffer;
  size_t outLeft = sizeof buffer;
  iconv(handle.Get(), nullptr, nullptr, &out, &outLeft);
  output.append(buffer, static_cast<size_t>(out - buffer));
  return output;
}

}  // namespace

void InitLocale() {
  static const bool initialised = [] {
    std::setlocale(LC_ALL, "");
    return true;
  }();
  (void)initialised;
}

bool LocaleIsUtf8() {
  static const bool utf8 = [] {
    std::string codeset = LocaleCodeset();
    return IsUtf8Name(codeset) || codeset == "ANSI_X3.4-1968" || codeset.empty();
  }();
  return utf8;
}

struct LocaleDecoder::Impl {
  // None for a UTF-8 locale, or when the system cannot convert from it.
  std::optional<IconvHandle> Converter;
};

LocaleDecoder::LocaleDecoder(InputText) : FImpl(std::make_unique<Impl>()) {
  if (LocaleIsUtf8())
    return;
  IconvHandle handle("UTF-8", LocaleCodeset().c_str());
  if (handle.Valid())
    FImpl->Converter.emplace(std::move(handle));
}

LocaleDecoder::~LocaleDecoder() = default;

void LocaleDecoder::AppendDecoded(std::string& out, std::string_view bytes) {
  if (FImpl->Converter) {
    // Each conversion ends in the converter's initial state, as a new one would.
    out += Convert(*FImpl->Converter, bytes, "\xEF\xBF\xBD", false);
  } else if (IsValidUtf8(bytes)) {
    out.append(bytes);
  } else {
    out += SanitizeUtf8(bytes);
  }
}

std::string DecodeFromLocale(std::string_view bytes) {
  LocaleDecoder decoder;
  std::string text;
  decoder.AppendDecoded(text, bytes);
  return text;
}

std::string EncodeToLocale(std::string_view utf8) {
  if (LocaleIsUtf8())
    return std::string(utf8);
  IconvHandle handle(LocaleCodeset().c_str(), "UTF-8");
  if (!handle.Valid())
    return std::string(utf8);
  return Convert(handle, utf8, "?", true);
}

}  // namespace Platform
