#include "JoplinRestUtils/Json/AnswerMembers.hpp"

#include <algorithm>
#include <utility>

namespace JoplinRestUtils {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// No name of a member worth keeping is longer than this.
constexpr size_t kLongestKeptName = 64;

}  // namespace

TAnswerMembers::TAnswerMembers(std::vector<std::string> keep, size_t verbatimLimit)
    : FKeep(std::move(keep)), FVerbatimLimit(verbatimLimit) {}

void TAnswerMembers::Take(const char* data, size_t size) {
  if (!FThinned) {
    if (FVerbatim.size() + size <= FVerbatimLimit) {
      FVerbatim.append(data, size);
    } else {
      FThinned = true;
      std::string().swap(FVerbatim);
    }
  }
  for (size_t i = 0; i < size; ++i) {
    // The bulk of an echo is the text of members not kept: skipped at once.
    if (FString.InString && !FKeeping && !FString.Escaped && FPlace != TPlace::InKey) {
      while (i < size && data[i] != '"' && data[i] != '\\')
        ++i;
      if (i == size)
        break;
    }
    Step(data[i]);
  }
}

std::uint64_t TAnswerMembers::KeptSize() const {
  return FThinned ? FKept.size() + FMember.size() : FVerbatim.size();
}

std::string TAnswerMembers::Finish() {
  if (!FThinned)
    return std::move(FVerbatim);
  // A cut answer keeps no closing brace, so that it cannot read as whole.
  return FPlace == TPlace::AfterObject ? "{" + FKept + "}" : "{" + FKept;
}

void TAnswerMembers::Step(char c) {
  if (FKeeping)
    FMember += c;
  if (FString.InString) {
    if (FString.Closes(c)) {
      if (FPlace == TPlace::InKey) {
        FPlace = TPlace::AfterKey;
        FKeeping = std::find(FKeep.begin(), FKeep.end(), FKey) != FKeep.end();
        if (FKeeping)
          FMember = "\"" + FKey + "\"";
      }
      return;
    }
    if (FPlace == TPlace::InKey && FKey.size() <= kLongestKeptName)
      FKey += c;
    return;
  }
  StepOutsideStrings(c);
}

void TAnswerMembers::StepOutsideStrings(char c) {
  if (c == '"') {
    FString.InString = true;
    if (FPlace == TPlace::ExpectKey && FDepth == 1) {
      FPlace = TPlace::InKey;
      FKey.clear();
    }
    return;
  }
  switch (FPlace) {
    case TPlace::BeforeObject:
      if (c == '{') {
        FDepth = 1;
        FPlace = TPlace::ExpectKey;
      } else if (!IsBlank(c)) {
        FPlace = TPlace::NoObject;
      }
      return;
    case TPlace::AfterKey:
      if (c == ':')
        FPlace = TPlace::InValue;
      return;
    case TPlace::ExpectKey:
    case TPlace::InValue:
      break;
    default:
      return;
  }
  if (c == '{' || c == '[') {
    ++FDepth;
  } else if (c == '}' || c == ']') {
    if (--FDepth == 0) {
      if (FKeeping)
        FMember.pop_back();
      EndMember();
      FPlace = TPlace::AfterObject;
    }
  } else if (c == ',' && FDepth == 1) {
    if (FKeeping)
      FMember.pop_back();
    EndMember();
    FPlace = TPlace::ExpectKey;
  }
}

void TAnswerMembers::EndMember() {
  if (FKeeping) {
    if (!FKept.empty())
      FKept += ',';
    FKept += FMember;
  }
  FKeeping = false;
  FMember.clear();
}

}  // namespace JoplinRestUtils
