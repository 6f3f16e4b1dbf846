#pragma once
// Conversion between UTF-8 and the character set of the user's locale.
// Decoding never fails: undecodable bytes become U+FFFD. Encoding replaces
// characters the charset cannot hold with "?".
#include <memory>
#include <string>
#include <string_view>

#include "Platform/Console/Error.hpp"

namespace Platform {

// Calls setlocale(LC_ALL, "") once; safe to call repeatedly.
void InitLocale();

// True when the locale's charset is UTF-8 (the C/POSIX locale counts as UTF-8).
bool LocaleIsUtf8();

std::string DecodeFromLocale(std::string_view bytes);

// Text that was asked to be UTF-8 ("/Utf8") and is not.
class EInputNotUtf8 : public Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EInputNotUtf8"; }
};

// How standard input is read: in the locale's charset, or as UTF-8 because
// the user said so. On Linux the two are the same: a terminal or a pipe
// carries the locale's charset there. On Windows a pipe carries the ANSI code
// page unless UTF-8 is asked for, which is then read strictly.
enum class InputText { InLocale, Utf8Asked };

// Decodes many texts from the locale's charset with one converter, each as
// DecodeFromLocale would. With Utf8Asked on Windows, AppendDecoded throws
// EInputNotUtf8 for bytes that are not UTF-8.
class LocaleDecoder {
 public:
  explicit LocaleDecoder(InputText kind = InputText::InLocale);
  ~LocaleDecoder();
  LocaleDecoder(const LocaleDecoder&) = delete;
  LocaleDecoder& operator=(const LocaleDecoder&) = delete;

  void AppendDecoded(std::string& out, std::string_view bytes);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};
std::string EncodeToLocale(std::string_view utf8);

}  // namespace Platform
