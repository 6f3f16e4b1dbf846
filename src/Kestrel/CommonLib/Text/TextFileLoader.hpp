#pragma once
// Loads a whole text file with a named encoding, or with one chosen from the
// file's signature (EF BB BF: UTF-8, FF FE: UTF-16LE, "+/v": UTF-7, else UTF-8).
#include <optional>
#include <string>

#include "Platform/Text/TextDecoding.hpp"

namespace Kestrel::CommonLib {

using Platform::TextEncoding;

// True with `text` holding the decoded file. False, with `text` untouched, for
// a missing path or a directory, a file that cannot be read, that is 2 GiB or
// larger, that does not decode, or (without an encoding) that is shorter than
// 4 bytes. Line breaks are left as they are.
bool LoadTextFile(const std::string& path, std::string& text, std::optional<TextEncoding> encoding);

// Why a file could not be loaded: the reason reads after the file's name
// ("No such file or directory", "is a directory", "is not valid UTF-8").
struct TTextLoadFailure {
  std::string Reason;
  bool Undecodable = false;  // read, but the bytes are not of the encoding
};

// Loads a file, or a stream read to its end (a pipe, a FIFO, a device other
// than a terminal), with the named encoding, except that a byte-order mark names the
// encoding itself and is no content: EF BB BF reads the rest as UTF-8, FF FE
// as UTF-16LE. False with `failure` filled and `text` untouched otherwise.
bool LoadTextFileHonouringMark(const std::string& path, TextEncoding encoding, std::string& text,
                               TTextLoadFailure& failure);

}  // namespace Kestrel::CommonLib
