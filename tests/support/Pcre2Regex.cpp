#include "support/Pcre2Regex.hpp"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <stdexcept>

namespace TestSupport {
namespace {

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using CodeHandle = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchDataHandle = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;

std::optional<RegexMatch> MatchFrom(const pcre2_code* code, pcre2_match_data* data,
                                    std::string_view text, size_t start, uint32_t flags) {
  const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), start,
                             flags, data, nullptr);
  if (rc < 0)
    return std::nullopt;
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
  RegexMatch match{ovector[0], ovector[1] - ovector[0], {}};
  if (rc > 1 && ovector[2] != PCRE2_UNSET)
    match.Group1.assign(text.substr(ovector[2], ovector[3] - ovector[2]));
  return match;
}

}  // namespace

struct Regex::Impl {
  CodeHandle Code;
};

Regex::Regex(std::string_view pattern, RegexOptions options)
    : FImpl(std::make_unique<Impl>()), FOptions(options) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  // Invalid UTF-8 in the subject must not stop a match, so UTF checks are off
  // and the patterns stay ASCII.
  const uint32_t flags = (options.Caseless ? PCRE2_CASELESS : 0u);
  FImpl->Code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                  flags, &error, &offset, nullptr));
  if (!FImpl->Code)
    throw std::logic_error("invalid regular expression");
}

Regex::~Regex() = default;

uint32_t Regex::MatchFlags() const {
  return FOptions.RefuseEmptyMatch ? PCRE2_NOTEMPTY : 0u;
}
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

std::vector<RegexMatch> Regex::FindAll(std::string_view text) const {
  std::vector<RegexMatch> matches;
  MatchDataHandle data(pcre2_match_data_create_from_pattern(FImpl->Code.get(), nullptr));
  size_t start = 0;
  while (start <= text.size()) {
    std::optional<RegexMatch> match =
        MatchFrom(FImpl->Code.get(), data.get(), text, start, MatchFlags());
    if (!match)
      break;
    // An empty match moves on by one byte so that the scan always advances.
    start = match->Start + std::max<size_t>(match->Length, 1);
    matches.push_back(std::move(*match));
  }
  return matches;
}

std::optional<RegexMatch> Regex::FindFirst(std::string_view text) const {
  MatchDataHandle data(pcre2_match_data_create_from_pattern(FImpl->Code.get(), nullptr));
  return MatchFrom(FImpl->Code.get(), data.get(), text, 0, MatchFlags());
}

}  // namespace TestSupport
