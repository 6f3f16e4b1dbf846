#pragma once
// An answer filter for a note read with its body: the top-level string member
// "body" is decoded as it arrives, either into a text that the caller takes or
// against an expected text that it is checked with, never kept twice. The
// answer handed on is the rest of the object as the server wrote it, with
// "body":"" in the body's place, so that a note of 10 MB costs its text once
// instead of its bytes, their copy and a parsed tree.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "JoplinRestUtils/Json/JsonStringState.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

class TBodyMember : public Platform::HttpAnswerFilter {
 public:
  // Keeps the body, for TakeBody, with room for `roomToAdd` more bytes once
  // the answer's length is known, so that growing it does not copy it.
  static std::shared_ptr<TBodyMember> Keeping(size_t roomToAdd);
  // Keeps nothing of the body, only whether it equals `expected`, which must
  // outlive the filter.
  static std::shared_ptr<TBodyMember> Checking(std::string_view expected);

  void ExpectSize(std::uint64_t bytes) override;
  void Take(const char* data, size_t size) override;
  std::uint64_t KeptSize() const override { return FRest.size() + FBody.size(); }
  std::string Finish() override { return std::move(FRest); }

  // Nothing when the answer held no whole, well-formed string "body"; ill-formed
  // UTF-8 in it becomes U+FFFD, as in any other answer.
  std::optional<std::string> TakeBody();
  // Whether the answer's body is exactly the expected text.
  bool Matches() const;

 private:
  enum class TPlace { Outside, InKey, AfterKey, BeforeBody, InBody };

  void StepOutside(char c);
  void StartBody();
  size_t TakeBodyRun(const char* data, size_t size);
  bool StepEscape(char c);
  void EndEscape();
  void BreakEscape();
  void Emit(std::string_view text);

  std::optional<std::string_view> FExpected;
  size_t FRoomToAdd = 0;
  std::string FRest;
  std::string FBody;
  size_t FCompared = 0;  // bytes of the body checked against the expected text
  bool FDiffers = false;

  TPlace FPlace = TPlace::Outside;
  int FDepth = 0;
  TJsonStringState FString;  // strings other than a decoded body
  bool FExpectKey = false;   // the next string at the top level is a key
  std::string FKey;
  std::string FEscape;  // the escape being read, from its backslash
  bool FBodyWhole = false;
  bool FBodyBroken = false;
};

}  // namespace JoplinRestUtils
