#pragma once
// Standard input as lines: a line ends at LF, CR LF, byte 26 (Ctrl+Z) or the
// end of input; a lone CR is dropped; byte 26 ends the input and nothing after
// it is read. Each line is decoded from the locale's character set.
#include "Kestrel/CommonLib/StringList.hpp"
#include "Platform/ByteReader.hpp"

namespace Quillpost {

inline constexpr const char* kStdinPrompt = "Quillpost(Eof => Ctrl + D)";

// Clears `lines` and appends every line. `utf8` ("/Utf8") reads the same way:
// the locale's character set already is what the terminal sends.
void ReadStdinLines(Kestrel::CommonLib::TStringList& lines, bool utf8, Platform::ByteReader& input);

// The same lines joined, each followed by CR LF (the lines' Text()), read
// without holding them one by one.
std::string ReadStdinText(bool utf8, Platform::ByteReader& input);

}  // namespace Quillpost
