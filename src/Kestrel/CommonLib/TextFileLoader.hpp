#pragma once
// Loads a whole text file with a named encoding, or with one chosen from the
// file's signature (EF BB BF: UTF-8, FF FE: UTF-16LE, "+/v": UTF-7, else UTF-8).
#include <optional>
#include <string>

#include "Platform/TextDecoding.hpp"

namespace Kestrel::CommonLib {

using Platform::TextEncoding;

// True with `text` holding the decoded file. False, with `text` untouched, for
// a missing path or a directory, a file that cannot be read, that is 2 GiB or
// larger, that does not decode, or (without an encoding) that is shorter than
// 4 bytes. Line breaks are left as they are.
bool LoadTextFile(const std::string& path, std::string& text, std::optional<TextEncoding> encoding);

}  // namespace Kestrel::CommonLib
