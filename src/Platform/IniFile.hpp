#pragma once
// A small INI reader with the rules of the classic profile-string reader:
// section and key names match ignoring ASCII case, the first match wins,
// blanks around keys and values are dropped, one pair of enclosing quotes is
// dropped, lines without "=" and lines starting with ";" are ignored, and a
// value is cut at 2047 UTF-16 code units. UTF-8 (with or without byte-order
// mark) and UTF-16LE with byte-order mark are read.
#include <string>

namespace Platform {

class IniFile {
 public:
  // A file that is missing or unreadable behaves as an empty one.
  explicit IniFile(const std::string& path);

  // The value of `key` in `section`, or `defaultValue` when either is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

 private:
  std::string FText;
};

}  // namespace Platform
