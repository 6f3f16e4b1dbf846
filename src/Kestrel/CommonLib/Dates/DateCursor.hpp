#pragma once
// A reading position in a date-time text, for the parsers of the forms users
// write and of the forms files carry: numbers of bounded length, literals,
// words and blanks, each taken only when it is there.
#include <string_view>

#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Text/Ascii.hpp"

namespace Kestrel::CommonLib {

class TDateCursor {
 public:
  explicit TDateCursor(std::string_view text) : FText(text) {}

  bool AtEnd() const { return FPos == FText.size(); }
  size_t Position() const { return FPos; }
  void Reset(size_t pos) { FPos = pos; }

  // Reads 1..maxDigits ASCII digits; `digits` tells how many. False too when
  // more digits follow.
  bool Number(size_t maxDigits, int& value, size_t& digits) {
    digits = 0;
    value = 0;
    while (FPos < FText.size() && Platform::IsAsciiDigit(FText[FPos]) && digits < maxDigits) {
      value = value * 10 + (FText[FPos++] - '0');
      ++digits;
    }
    return digits > 0 && (FPos == FText.size() || !Platform::IsAsciiDigit(FText[FPos]));
  }

  // Every ASCII digit from here on, however many.
  std::string_view DigitRun() {
    const size_t start = FPos;
    while (FPos < FText.size() && Platform::IsAsciiDigit(FText[FPos]))
      ++FPos;
    return FText.substr(start, FPos - start);
  }

  bool Literal(std::string_view literal) {
    if (literal.empty() || FText.substr(FPos, literal.size()) != literal)
      return false;
    FPos += literal.size();
    return true;
  }

  // A literal compared ignoring ASCII case.
  bool Word(std::string_view word) {
    if (word.empty() || !SameText(FText.substr(FPos, word.size()), word))
      return false;
    FPos += word.size();
    return true;
  }

  size_t Blanks() {
    size_t count = 0;
    while (FPos < FText.size() && FText[FPos] == ' ')
      ++FPos, ++count;
    return count;
  }

 private:
  std::string_view FText;
  size_t FPos = 0;
};

}  // namespace Kestrel::CommonLib
