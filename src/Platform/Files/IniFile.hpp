#pragma once
// A small INI reader with the rules of the classic profile-string reader:
// section and key names match ignoring ASCII case, the first match wins,
// blanks around keys and values are dropped, one pair of enclosing quotes is
// dropped, lines without "=" and lines starting with ";" are ignored, and a
// value is cut at 2047 UTF-16 code units. UTF-8 (with or without byte-order
// mark) and UTF-16LE with byte-order mark are read.
#include <cstdint>
#include <string>

namespace Platform {

class IniFile {
 public:
  // Settings files are small: a larger one is not read.
  static constexpr std::uint64_t kMaxSize = 1024 * 1024;

  // A file that is missing, unreadable, no regular file (a FIFO would block)
  // or larger than kMaxSize behaves as an empty one; Failure() says why.
  explicit IniFile(const std::string& path);

  // Why the file could not be read ("No such file or directory", "is a
  // directory", "is too large"); empty when it was read.
  const std::string& Failure() const { return FFailure; }

  // The value of `key` in `section`, or `defaultValue` when either is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

 private:
  std::string FText;
  std::string FFailure;
};

}  // namespace Platform
