#pragma once
// The first fields of the note taken straight from the switches: markup
// language ("/MD" wins over "/HTML"), title ("/I"), notebook name ("/N") and
// whether its missing notebooks are created ("/NC"), source and author
// ("/Source", "/Author").
#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/SwitchScanner.hpp"

namespace Quillpost {

void ApplyMarkupLanguage(const Kestrel::CommonLib::TParamList& params,
                         JoplinRestUtils::TJoplinNewNote& note);
void ApplyTitleAndNotebook(const Kestrel::CommonLib::TParamList& params,
                           JoplinRestUtils::TJoplinNewNote& note);

}  // namespace Quillpost
