#pragma once
// Standard input as lines: a line ends at LF, CR LF, byte 26 (Ctrl+Z) or the
// end of input; a lone CR is dropped; byte 26 ends the input and nothing after
// it is read. Each line is decoded from the locale's character set.
#include <string>

#include "Platform/Files/ByteReader.hpp"

namespace Quillpost {

inline constexpr const char* kStdinPrompt = "Quillpost(Eof => Ctrl + D)";

// Every line followed by CR LF, read in large pieces and joined as it is read.
// `utf8` ("/Utf8") reads strict UTF-8 on Windows, where a pipe otherwise
// carries the ANSI code page; on Linux the locale's charset already is what
// a terminal or a pipe sends, and it changes nothing.
std::string ReadStdinText(bool utf8, Platform::ByteReader& input);

}  // namespace Quillpost
