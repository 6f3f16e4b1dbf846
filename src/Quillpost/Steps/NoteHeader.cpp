#include "Quillpost/Steps/NoteHeader.hpp"

#include "Quillpost/Switches.hpp"

namespace Quillpost {

void ApplyMarkupLanguage(const Kestrel::CommonLib::TParamList& params,
                         JoplinRestUtils::TJoplinNewNote& note) {
  if (FindSwitch(params, "MD")) {
    note.MarkupLanguage = JoplinRestUtils::kMarkupMarkdown;
  } else if (FindSwitch(params, "HTML")) {
    note.MarkupLanguage = JoplinRestUtils::kMarkupHtml;
  } else {
    note.MarkupLanguage = JoplinRestUtils::kMarkupMarkdown;
  }
}

void ApplyTitleAndNotebook(const Kestrel::CommonLib::TParamList& params,
                           JoplinRestUtils::TJoplinNewNote& note) {
  note.Title = SwitchValueDef(params, "I", note.Title);
  note.NotebookName = SwitchValueDef(params, "N", "");
  note.CreateNotebooks = FindSwitch(params, "NC");
  note.SourceUrl = SwitchValueDef(params, "Source", "");
  note.Author = SwitchValueDef(params, "Author", "");
}

}  // namespace Quillpost
