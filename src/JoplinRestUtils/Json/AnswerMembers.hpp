#pragma once
// An answer filter for the Data API's echoes: POST notes answers with the
// whole note, a 70 MB body included. A short answer is kept as it came, so
// that nothing changes for the answers of every day; one longer than
// `verbatimLimit` is read as it arrives and kept as an object of the named
// top-level members only ({"id":..,"title":..}), each as the server wrote
// it. An answer that is no object, or that is cut short, stays unreadable.
#include <cstdint>
#include <string>
#include <vector>

#include "JoplinRestUtils/Json/JsonStringState.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

class TAnswerMembers : public Platform::HttpAnswerFilter {
 public:
  explicit TAnswerMembers(std::vector<std::string> keep, size_t verbatimLimit = 1 << 20);

  void Take(const char* data, size_t size) override;
  std::uint64_t KeptSize() const override;
  std::string Finish() override;

 private:
  enum class TPlace { BeforeObject, ExpectKey, InKey, AfterKey, InValue, AfterObject, NoObject };

  void Step(char c);
  void StepOutsideStrings(char c);
  void EndMember();

  std::vector<std::string> FKeep;
  size_t FVerbatimLimit;
  std::string FVerbatim;
  bool FThinned = false;

  TPlace FPlace = TPlace::BeforeObject;
  int FDepth = 0;  // open objects and arrays, outside strings
  TJsonStringState FString;
  std::string FKey;       // the current member's name, as written
  bool FKeeping = false;  // the current member is one to keep
  std::string FMember;    // the current kept member, as written
  std::string FKept;      // the kept members so far, joined by ","
};

}  // namespace JoplinRestUtils
