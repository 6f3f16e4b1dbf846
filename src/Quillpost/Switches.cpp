#include "Quillpost/Switches.hpp"

#include <string>
#include <vector>

namespace Quillpost {

using Kestrel::CommonLib::TParamList;
using Kestrel::CommonLib::TStringList;

namespace {

using K = TSwitchKind;

constexpr TSwitchSpec kSwitches[] = {
    {"/N", K::Value, true, "[Notebook]",
     "notebook: a title, a notebook id, or a path \"Parent/Child\";\n"
     "a notebook that does not exist is an error"},
    {"/NC", K::Flag, true, "", "create the missing notebooks of the /N path first"},
    {"/I", K::Value, false, "[Title]", "note title (\"NoName\" without it)"},
    {"/S", K::Value, false, "[Body file path]",
     "body file (.md, .txt; .html and .htm make an HTML note);\n"
     "without it, or with \"-\", the body is read from standard\n"
     "input; a pipe such as <(command) or /dev/stdin is read to its\n"
     "end, and a named FIFO waits for its writer as cat does"},
    {"/SN", K::Flag, false, "", "no body: standard input is not read"},
    {"/A", K::Value, false, "[Attachment]", "one file to attach (repeatable)"},
    {"/AA", K::List, false, "[Attachment] [Attachment] ...", "several files to attach"},
    {"/T", K::Value, true, "[Tag]", "one tag (repeatable)"},
    {"/TT", K::List, true, "[Tag] [Tag] ...", "several tags"},
    {"/C", K::Value, false, "[Created]",
     "creation date-time (may hold %FileMTime% and other placeholders)"},
    {"/E", K::Value, false, "[Updated]", "update date-time (the same placeholders)"},
    {"/Append", K::Flag, false, "",
     "add the body, attachments and tags to the note titled /I in\n"
     "/N (or /Id's), one blank line apart; created when missing"},
    {"/Prepend", K::Flag, false, "", "the same, at the note's top"},
    {"/Id", K::Value, false, "[Note id]", "the note to add to (32 hexadecimal digits)"},
    {"/Todo", K::Flag, false, "", "a to-do"},
    {"/Due", K::Value, false, "[Date]", "its due date, an alarm in Joplin (as /C; implies /Todo)"},
    {"/Completed", K::Flag, false, "", "a to-do that is done"},
    {"/Source", K::Value, false, "[URL]", "the note's source URL"},
    {"/Author", K::Value, false, "[Name]", "the note's author"},
    {"--json", K::LongOption, true, "",
     "the result as one JSON object: id, title, parent_id,\n"
     "resources, action, link; or error and message"},
    {"/MD", K::Flag, false, "", "Markdown note (the default)"},
    {"/HTML", K::Flag, false, "", "HTML note"},
    {"/DefEnc", K::Flag, false, "", "read the body file as {ANSI} instead of UTF-8"},
    {"/LT", K::Flag, false, "", "the first line of the body becomes the title"},
    {"/NoLocal", K::Flag, false, "",
     "send a body file as written: do not upload the local files\n"
     "its images and links point to"},
    {"/NoFrontMatter", K::Flag, true, "",
     "send a Markdown body's leading \"---\" YAML block as text:\n"
     "without it, the block's title, tags, created, updated,\n"
     "due, completed?, source, author and place fill the note\n"
     "where no switch does"},
    {"/AllowOutside", K::Flag, true, "",
     "a trusted body: upload linked files outside its own folder\n"
     "too (never a settings file of Quillpost's)"},
    {"/AllowMany", K::Flag, true, "",
     "a trusted body: upload more than 1,000 linked files or 1 GiB"},
    {"/Utf8", K::Flag, false, "", "{UTF8}"},
    {"/IniFile=", K::Setting, true, "PATH", "settings file to read"},
    {"/Profile=", K::Setting, true, "DIR", "Joplin profile folder whose settings.json to read"},
    {"--check", K::LongOption, false, "", "show where the settings come from and test them"},
    {"--list-notebooks", K::LongOption, false, "",
     "print every notebook as its path (Parent/Child), one a line"},
    {"--list-tags", K::LongOption, false, "", "print every tag, one a line"},
    {"--import", K::Value, true, "DIR",
     "bring a folder of Markdown and HTML files into Joplin: each\n"
     "subfolder a notebook under /N (without /N, a new notebook\n"
     "named after DIR), each file a note; links between the files\n"
     "and [[wiki links]] become note links, and a file that notes\n"
     "link to is uploaded once; run again, only what changed is\n"
     "sent; /T, /TT, /NC, /NoFrontMatter and /AllowOutside apply"},
    {"--dry-run", K::Flag, true, "", "with --import: tell what would be done, change nothing"},
    {"--prune", K::Flag, true, "", "with --import: move the notes of deleted files to the trash"},
    {"--restore", K::Flag, true, "", "with --import: make again the notes deleted in Joplin"},
    {"/?", K::Flag, false, "", "short usage text", "/?, /h"},
    {"/h", K::Flag, false, "", ""},
    {"--help", K::LongOption, false, "", "this help, the version", "--help, --version"},
    {"--version", K::LongOption, false, "", ""},
};

// A name as written, "/N" or "--import", as the scanner matches it; a bare
// name as it is.
std::string AsScanned(std::string_view name) {
  if (name.starts_with('/') || name.starts_with('-'))
    name.remove_prefix(1);
  return std::string(name);
}

}  // namespace

std::span<const TSwitchSpec> KnownSwitchTable() {
  return kSwitches;
}

std::string ScannerName(const TSwitchSpec& spec) {
  if (spec.Kind == TSwitchKind::Setting || spec.Kind == TSwitchKind::LongOption)
    return spec.Name;
  return AsScanned(spec.Name);
}

namespace {

Kestrel::CommonLib::TSwitchSet MakeSwitchSet() {
  std::vector<std::string> names, wholeParams, valuePrefixes;
  for (const TSwitchSpec& spec : kSwitches) {
    switch (spec.Kind) {
      case TSwitchKind::Setting:
        valuePrefixes.emplace_back(spec.Name);
        break;
      case TSwitchKind::LongOption:
        wholeParams.emplace_back(spec.Name);
        break;
      default:
        names.emplace_back(ScannerName(spec));
    }
  }
  return {std::move(names), std::move(wholeParams), std::move(valuePrefixes)};
}

}  // namespace

const Kestrel::CommonLib::TSwitchSet& KnownSwitches() {
  static const Kestrel::CommonLib::TSwitchSet known = MakeSwitchSet();
  return known;
}

bool FindSwitch(const TParamList& params, std::string_view name) {
  const std::string scanned = AsScanned(name);
  return Kestrel::CommonLib::ParamExists(params, "/" + scanned) ||
         Kestrel::CommonLib::ParamExists(params, "-" + scanned);
}

bool SwitchValue(const TParamList& params, std::string_view name, std::string& value) {
  return Kestrel::CommonLib::GetSwitchValue(params, AsScanned(name), value, KnownSwitches());
}

std::string SwitchValueDef(const TParamList& params, std::string_view name,
                           const std::string& defaultValue) {
  return Kestrel::CommonLib::GetSwitchValueDef(params, AsScanned(name), defaultValue,
                                               KnownSwitches());
}

TStringList SwitchValuesThenList(const TParamList& params, std::string_view single,
                                 std::string_view list) {
  TStringList values;
  Kestrel::CommonLib::GetSwitchValues(params, AsScanned(single), values, false, KnownSwitches());
  Kestrel::CommonLib::GetSwitchValueList(params, AsScanned(list), values, false, KnownSwitches());
  return values;
}

}  // namespace Quillpost
