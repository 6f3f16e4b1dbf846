#pragma once
// Perl-compatible regular expressions (PCRE2): what the HTML scanner must
// find, told by an engine that knows nothing of it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace TestSupport {

struct RegexMatch {
  size_t Start = 0;   // byte offset of the whole match
  size_t Length = 0;  // byte length of the whole match
  std::string Group1;
};

struct RegexOptions {
  bool Caseless = false;
  bool RefuseEmptyMatch = false;
};

class Regex {
 public:
  // The pattern must compile; it is one of the program's own.
  Regex(std::string_view pattern, RegexOptions options);
  ~Regex();
  Regex(Regex&&) noexcept;
  Regex& operator=(Regex&&) noexcept;
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  std::optional<RegexMatch> FindFirst(std::string_view text) const;
  // Every match from left to right, not overlapping.
  std::vector<RegexMatch> FindAll(std::string_view text) const;

 private:
  uint32_t MatchFlags() const;
  struct Impl;
  std::unique_ptr<Impl> FImpl;
  RegexOptions FOptions;
};

}  // namespace TestSupport
