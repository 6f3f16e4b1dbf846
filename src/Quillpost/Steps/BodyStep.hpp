#pragma once
// The note's body: the "/S" file (UTF-8, or Windows-1252 with "/DefEnc"; a
// byte-order mark names its own encoding) or standard input (unless "/SN";
// the prompt goes to standard error, and only to a terminal), the title and
// local images of an HTML body file, "/LT" taking the first line as title.
#include "JoplinRestUtils/NewNote.hpp"
#include "Platform/Files/ByteReader.hpp"
#include "Quillpost/Arguments.hpp"

namespace Quillpost {

// May change the note's markup language, title, base directory and files.
// Throws EBodyFileError when the "/S" file cannot be loaded; standard input is
// then left unread.
void ApplyBody(const TArguments& args, JoplinRestUtils::TJoplinNewNote& note,
               Platform::ByteReader& stdinBytes);

}  // namespace Quillpost
