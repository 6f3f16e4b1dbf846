// The filters that read the server's answers as they arrive: a note's body
// decoded on its own (kept, or checked against a text) and the members kept
// of a long echo. However the answer is cut into pieces, each must read the
// same; a body kept (of UTF-8) must check as equal to itself; and a thinned echo of an
// object that parses must parse too.
#include <algorithm>

#include "JoplinRestUtils/Json/AnswerMembers.hpp"
#include "JoplinRestUtils/Json/BodyMember.hpp"
#include "JoplinRestUtils/Json/Json.hpp"
#include "support.hpp"

namespace {

using JoplinRestUtils::TAnswerMembers;
using JoplinRestUtils::TBodyMember;

// Feeds the answer in pieces of `piece` bytes (0: whole).
template <typename Filter>
std::string Feed(Filter& filter, std::string_view answer, size_t piece) {
  filter.ExpectSize(answer.size());
  if (piece == 0)
    piece = std::max<size_t>(answer.size(), 1);
  for (size_t at = 0; at < answer.size(); at += piece)
    filter.Take(answer.data() + at, std::min(piece, answer.size() - at));
  return filter.Finish();
}

struct BodyRead {
  std::string Rest;
  std::optional<std::string> Body;
  bool operator==(const BodyRead&) const = default;
};

BodyRead ReadBody(std::string_view answer, size_t piece) {
  const auto filter = TBodyMember::Keeping(16);
  BodyRead read;
  read.Rest = Feed(*filter, answer, piece);
  read.Body = filter->TakeBody();
  return read;
}

std::string Thin(std::string_view answer, size_t piece, size_t verbatimLimit) {
  TAnswerMembers filter({"id", "title", "parent_id", "error"}, verbatimLimit);
  return Feed(filter, answer, piece);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const size_t piece = data[0] % 8;  // 0: whole
  const std::string_view answer = Fuzz::AsText(data + 1, size - 1);

  const BodyRead whole = ReadBody(answer, 0);
  if (!(ReadBody(answer, piece) == whole))
    __builtin_trap();
  // A body with U+FFFD may have had bytes that are no UTF-8, which the kept
  // text replaces and a check compares as they came.
  if (whole.Body && whole.Body->find("\xEF\xBF\xBD") == std::string::npos) {
    const auto check = TBodyMember::Checking(*whole.Body);
    Feed(*check, answer, piece);
    if (!check->Matches())
      __builtin_trap();
  }

  for (const size_t limit : {size_t{0}, size_t{1} << 20}) {
    const std::string thinned = Thin(answer, 0, limit);
    if (Thin(answer, piece, limit) != thinned)
      __builtin_trap();
    const auto parsed = JoplinRestUtils::ParseJson(answer);
    if (parsed && parsed->is_object() && !JoplinRestUtils::ParseJson(thinned))
      __builtin_trap();
  }
  return 0;
}
