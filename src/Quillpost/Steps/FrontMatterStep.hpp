#pragma once
// A Markdown body's front-matter block: taken out of the body into the
// note's title, tags, dates, to-do state, source, author and place, unless
// "/NoFrontMatter". What the command line says wins over the block, and the
// block over the defaults.
#include <string>
#include <string_view>

#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/SwitchScanner.hpp"

namespace Quillpost {

// `source` names the body in messages (its file, or standard input). Throws
// EFrontMatterError for a block that cannot be read.
void ApplyFrontMatter(const Kestrel::CommonLib::TParamList& params, std::string_view source,
                      std::string& body, JoplinRestUtils::TJoplinNewNote& note);

}  // namespace Quillpost
