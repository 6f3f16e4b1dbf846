#include <windows.h>

#include "Platform/Text/Charset.hpp"
#include "Platform/Text/TextDecoding.hpp"
#include "Platform/Text/Utf8.hpp"
#include "Platform/Windows/Win32CodePages.hpp"

// On Windows, arguments, paths and environment values come from the wide API
// as UTF-8, so the "locale" of names is UTF-8. Standard input is read in the
// console's input code page on a console, otherwise in the ANSI code page.
namespace Platform {
namespace {

UINT InputCodePage() {
  static const UINT codePage =
      IsConsoleHandle(::GetStdHandle(STD_INPUT_HANDLE)) ? ::GetConsoleCP() : ::GetACP();
  return codePage;
}

}  // namespace

void InitLocale() {}

bool LocaleIsUtf8() {
  return InputCodePage() == CP_UTF8;
}

struct LocaleDecoder::Impl {
  InputText Kind = InputText::InLocale;
};

LocaleDecoder::LocaleDecoder(InputText kind) : FImpl(std::make_unique<Impl>()) {
  FImpl->Kind = kind;
}

LocaleDecoder::~LocaleDecoder() = default;

void LocaleDecoder::AppendDecoded(std::string& out, std::string_view bytes) {
  if (FImpl->Kind == InputText::Utf8Asked) {
    if (!IsValidUtf8(bytes))
      throw EInputNotUtf8("standard input is not valid UTF-8 (without /Utf8 it is read as " +
                          AnsiCodePageName() + ")");
    out.append(bytes);
    return;
  }
  std::string text;
  if (LocaleIsUtf8() || !DecodeCodePage(bytes, InputCodePage(), 0, text)) {
    out += SanitizeUtf8(bytes);
    return;
  }
  out += text;
}

std::string DecodeFromLocale(std::string_view bytes) {
  return SanitizeUtf8(bytes);
}

std::string EncodeToLocale(std::string_view utf8) {
  return EncodeCodePage(utf8, ::GetACP());
}

}  // namespace Platform
