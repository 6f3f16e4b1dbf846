#include "Quillpost/Steps/FrontMatterStep.hpp"

#include "JoplinRestUtils/Markup/FrontMatter.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TFrontMatter;
using JoplinRestUtils::TJoplinNewNote;
using Kestrel::CommonLib::TParamList;

void TakeText(const TParamList& params, const char* name, const std::optional<std::string>& given,
              std::string& field) {
  if (given && !given->empty() && !FindSwitch(params, name))
    field = *given;
}

// The dates stay instants here; a date switch, read later, wins over them.
void TakeFields(const TParamList& params, TFrontMatter& fields, TJoplinNewNote& note) {
  TakeText(params, "I", fields.Title, note.Title);
  TakeText(params, "Source", fields.Source, note.SourceUrl);
  TakeText(params, "Author", fields.Author, note.Author);
  for (auto& tag : fields.Tags)
    note.Tags.Add(std::move(tag));
  JoplinRestUtils::TakeFrontMatterState(fields, note);
}

}  // namespace

void ApplyFrontMatter(const TParamList& params, std::string_view source, std::string& body,
                      TJoplinNewNote& note) {
  if (FindSwitch(params, "NoFrontMatter") ||
      note.MarkupLanguage != JoplinRestUtils::kMarkupMarkdown)
    return;
  JoplinRestUtils::TFrontMatterBlock block;
  switch (JoplinRestUtils::FindFrontMatter(body, block)) {
    case JoplinRestUtils::TFrontMatterSearch::None:
      return;
    case JoplinRestUtils::TFrontMatterSearch::Unclosed:
      Kestrel::CommonLib::Warn(std::string(source) +
                               ": the first line opens a front matter that no \"---\" line "
                               "closes; the text is sent as written");
      return;
    case JoplinRestUtils::TFrontMatterSearch::Found:
      break;
  }
  std::vector<std::string> warnings;
  TFrontMatter fields = JoplinRestUtils::ReadFrontMatter(block, source, warnings);
  for (const auto& warning : warnings)
    Kestrel::CommonLib::Warn(warning);
  TakeFields(params, fields, note);
  body.erase(0, block.BodyStart);
}

}  // namespace Quillpost
