#pragma once
// Conversion between UTF-8 and the character set of the user's locale.
// Decoding never fails: undecodable bytes become U+FFFD. Encoding replaces
// characters the charset cannot hold with "?".
#include <memory>
#include <string>
#include <string_view>

namespace Platform {

// Calls setlocale(LC_ALL, "") once; safe to call repeatedly.
void InitLocale();

// True when the locale's charset is UTF-8 (the C/POSIX locale counts as UTF-8).
bool LocaleIsUtf8();

std::string DecodeFromLocale(std::string_view bytes);

// Decodes many texts from the locale's charset with one converter, each as
// DecodeFromLocale would.
class LocaleDecoder {
 public:
  LocaleDecoder();
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
