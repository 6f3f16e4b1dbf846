#include "JoplinRestUtils/Json/BodyMember.hpp"

#include <algorithm>
#include <cstring>

#include "JoplinRestUtils/Json/JsonEscape.hpp"
#include "Platform/Text/Utf8.hpp"

namespace JoplinRestUtils {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of four hexadecimal digits, or nothing.
std::optional<unsigned> HexUnit(std::string_view digits) {
  unsigned unit = 0;
  for (const char c : digits) {
    unit <<= 4;
    if (c >= '0' && c <= '9')
      unit |= static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f')
      unit |= static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      unit |= static_cast<unsigned>(c - 'A' + 10);
    else
      return std::nullopt;
  }
  return unit;
}

bool IsHighSurrogate(unsigned unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Room is made for no more than this, whatever length an answer declares.
constexpr std::uint64_t kMostRoomMade = std::uint64_t{64} << 20;

}  // namespace

std::shared_ptr<TBodyMember> TBodyMember::Keeping(size_t roomToAdd) {
  auto filter = std::make_shared<TBodyMember>();
  filter->FRoomToAdd = roomToAdd;
  return filter;
}

std::shared_ptr<TBodyMember> TBodyMember::Checking(std::string_view expected) {
  auto filter = std::make_shared<TBodyMember>();
  filter->FExpected = expected;
  return filter;
}

void TBodyMember::ExpectSize(std::uint64_t bytes) {
  if (!FExpected)
    FBody.reserve(static_cast<size_t>(std::min(bytes, kMostRoomMade)) + FRoomToAdd);
}

void TBodyMember::Take(const char* data, size_t size) {
  size_t i = 0;
  while (i < size) {
    if (FPlace == TPlace::InBody) {
      i += TakeBodyRun(data + i, size - i);
      continue;
    }
    const char c = data[i++];
    FRest += c;
    StepOutside(c);
  }
}

// Outside the body: the object's members, followed only as far as needed to
// find the top-level key "body" and the start of its string.
void TBodyMember::StepOutside(char c) {
  if (FString.InString) {
    if (FString.Closes(c)) {
      if (FPlace == TPlace::InKey)
        FPlace = TPlace::AfterKey;
      return;
    }
    if (FPlace == TPlace::InKey && FKey.size() <= 4)
      FKey += c;
    return;
  }
  if (FPlace == TPlace::BeforeBody) {
    if (c == '"') {
      StartBody();
      return;
    }
    if (IsBlank(c))
      return;
    FPlace = TPlace::Outside;  // a body that is no string
  }
  if (FPlace == TPlace::AfterKey) {
    if (c == ':')
      FPlace = FKey == "body" ? TPlace::BeforeBody : TPlace::Outside;
    return;
  }
  switch (c) {
    case '"':
      FString.InString = true;
      if (FExpectKey) {
        FPlace = TPlace::InKey;
        FKey.clear();
        FExpectKey = false;
      }
      return;
    case '{':
    case '[':
      FExpectKey = ++FDepth == 1 && c == '{';
      return;
    case '}':
    case ']':
      --FDepth;
      return;
    case ',':
      FExpectKey = FDepth == 1;
      return;
    default:
      return;
  }
}

void TBodyMember::StartBody() {
  FPlace = TPlace::InBody;
  FBody.clear();
  FCompared = 0;
  FDiffers = false;
  FBodyWhole = false;
  FBodyBroken = false;
}

// The body's text up to its closing quote: plain runs at once, escapes one
// character at a time (they may be split between two pieces of the answer).
size_t TBodyMember::TakeBodyRun(const char* data, size_t size) {
  size_t i = 0;
  while (i < size && !FEscape.empty()) {
    if (StepEscape(data[i]))
      ++i;
  }
  const char* end = data + size;
  const char* run = data + i;
  const char* stop = std::find_if(run, end, [](char c) { return c == '"' || c == '\\'; });
  Emit(std::string_view(run, static_cast<size_t>(stop - run)));
  if (stop == end)
    return size;
  if (*stop == '\\') {
    FEscape.assign(1, '\\');
  } else {
    FBodyWhole = !FBodyBroken;
    FRest += '"';
    FPlace = TPlace::Outside;
  }
  return static_cast<size_t>(stop - data) + 1;
}

// False when `c` ends a broken escape without being part of it: the body
// reads it again as its own.
bool TBodyMember::StepEscape(char c) {
  FEscape += c;
  if (FEscape.size() == 2 && c != 'u') {
    const char plain = ShortEscapedChar(c);
    FBodyBroken = FBodyBroken || plain == 0;
    if (plain != 0)
      Emit(std::string_view(&plain, 1));
    FEscape.clear();
  } else if (FEscape.size() == 6) {
    const std::optional<unsigned> unit = HexUnit(std::string_view(FEscape).substr(2));
    if (!unit || IsLowSurrogate(*unit))
      BreakEscape();
    else if (!IsHighSurrogate(*unit))
      EndEscape();
  } else if ((FEscape.size() == 7 && c != '\\') || (FEscape.size() == 8 && c != 'u')) {
    // A high surrogate alone.
    BreakEscape();
    return false;
  } else if (FEscape.size() == 12) {
    EndEscape();
  }
  return true;
}

void TBodyMember::BreakEscape() {
  FBodyBroken = true;
  FEscape.clear();
}

// A whole \uXXXX escape, or a pair of them for a character beyond U+FFFF.
void TBodyMember::EndEscape() {
  const unsigned first = *HexUnit(std::string_view(FEscape).substr(2, 4));
  char32_t codePoint = first;
  if (FEscape.size() == 12) {
    const std::optional<unsigned> second = HexUnit(std::string_view(FEscape).substr(8, 4));
    if (!second || !IsLowSurrogate(*second)) {
      BreakEscape();
      return;
    }
    codePoint = 0x10000 + ((first - 0xD800) << 10) + (*second - 0xDC00);
  }
  FEscape.clear();
  std::string utf8;
  Platform::AppendUtf8(utf8, codePoint);
  Emit(utf8);
}

void TBodyMember::Emit(std::string_view text) {
  if (text.empty())
    return;
  if (!FExpected) {
    FBody.append(text);
    return;
  }
  if (!FDiffers && FExpected->size() - FCompared >= text.size() &&
      std::memcmp(FExpected->data() + FCompared, text.data(), text.size()) == 0) {
    FCompared += text.size();
  } else {
    FDiffers = true;
  }
}

std::optional<std::string> TBodyMember::TakeBody() {
  if (!FBodyWhole)
    return std::nullopt;
  if (!Platform::IsValidUtf8(FBody))
    return Platform::SanitizeUtf8(FBody);
  return std::move(FBody);
}

bool TBodyMember::Matches() const {
  return FExpected && FBodyWhole && !FDiffers && FCompared == FExpected->size();
}

}  // namespace JoplinRestUtils
