#include "Quillpost/Steps/AttachmentsStep.hpp"

#include <algorithm>

#include "JoplinRestUtils/NoteFields.hpp"
#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"
#include "Kestrel/CommonLib/Dates/DateTimeParser.hpp"
#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Files/Files.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TJoplinNewNote;
using Kestrel::CommonLib::TParamList;
using Kestrel::CommonLib::TStringList;

struct FileNamePlaceholders {
  std::string FileName, FileNames, FileNameEx, FileNamesEx;
};

// Entries that name no existing file are dropped, each with a warning.
void DropMissingFiles(TStringList& entries, const std::string& baseDir) {
  std::vector<std::string> dropped;
  for (size_t i = entries.Count(); i-- > 0;) {
    const std::string path = Kestrel::CommonLib::CombinePath(entries[i], baseDir);
    if (Platform::FileExists(path))
      continue;
    const char* what = Platform::DirectoryExists(path) ? "is a directory" : "does not exist";
    dropped.push_back("attachment " + Kestrel::CommonLib::QuotedPath(entries[i]) + " " + what +
                      "; skipped");
    entries.Delete(i);
  }
  for (auto warning = dropped.rbegin(); warning != dropped.rend(); ++warning)
    Kestrel::CommonLib::Warn(*warning);
}

FileNamePlaceholders PlaceholdersOf(const TStringList& entries) {
  FileNamePlaceholders values;
  for (size_t i = 0; i < entries.Count(); ++i) {
    const std::string name = Kestrel::CommonLib::DisplayFileName(entries[i]);
    const std::string_view baseName = Kestrel::CommonLib::ExtractFileBaseName(name);
    if (i == 0) {
      values.FileNameEx = name;
      values.FileName = baseName;
    }
    values.FileNamesEx += " " + std::string(name);
    values.FileNames += " " + std::string(baseName);
  }
  return values;
}

std::string FillTitle(std::string title, const FileNamePlaceholders& values) {
  const std::pair<const char*, const std::string*> replacements[] = {
      {"%FileName%", &values.FileName},
      {"%FileNames%", &values.FileNames},
      {"%FileNameEx%", &values.FileNameEx},
      {"%FileNamesEx%", &values.FileNamesEx},
  };
  for (const auto& [placeholder, value] : replacements) {
    title = Kestrel::CommonLib::ReplaceText(title, placeholder,
                                            Kestrel::CommonLib::TrimText(*value), false, true);
  }
  return title;
}

// An unreadable date falls back to the current time, as it always has, but
// no longer silently.
void WarnUnreadableDate(const char* name, const std::string& given, const std::string& filled) {
  std::string text = "/" + std::string(name) + " " + Kestrel::CommonLib::Quoted(given);
  if (filled != given)
    text += " (" + Kestrel::CommonLib::Quoted(filled) + " with its placeholders filled)";
  Kestrel::CommonLib::Warn(text + " is not a date-time; the current time is used");
}

// How a date that cannot be read is taken: as the current time, with a
// warning (the note's own dates), or as an error (a due date: an alarm at a
// made-up time helps nobody).
enum class TUnreadableDate { IsNow, IsAnError };

// The switch's value with its placeholders filled, as a date-time; 0 when the
// switch has no value.
Kestrel::CommonLib::TDateTime DateOfSwitch(const TParamList& params, const char* name,
                                           const std::string& firstAttachment,
                                           TUnreadableDate unreadable = TUnreadableDate::IsNow) {
  std::string value;
  if (!SwitchValue(params, name, value))
    return 0;
  const std::string given = value;
  if (!firstAttachment.empty()) {
    value = Kestrel::CommonLib::ReplaceFileNameDateTags(firstAttachment, value);
    value = Kestrel::CommonLib::ReplaceFileTimeTags(firstAttachment, value);
  }
  const Kestrel::CommonLib::TDateTime now = Kestrel::CommonLib::NowDateTime();
  Kestrel::CommonLib::TDateTime date = now;
  if (Kestrel::CommonLib::TryParseDateTime(value, Platform::UserDateConventions(), now, date)) {
    // Joplin refuses a time before 1970, and then holds the note's id locked.
    if (JoplinRestUtils::DateTimeToUnixMs(date) < 0)
      throw ECommandLineError("/" + std::string(name) + " " + Kestrel::CommonLib::Quoted(value) +
                              " is before 1970, which Joplin cannot store");
    return date;
  }
  if (unreadable == TUnreadableDate::IsAnError)
    throw ECommandLineError("/" + std::string(name) + " " + Kestrel::CommonLib::Quoted(value) +
                            " is not a date-time");
  WarnUnreadableDate(name, given, value);
  return date;
}

}  // namespace

std::string ApplyAttachments(const TArguments& args, TJoplinNewNote& note) {
  TStringList entries = SwitchValuesThenList(args.Paths, "A", "AA");
  DropMissingFiles(entries, note.BaseDir);
  if (!entries.Empty()) {
    TStringList files;
    for (const auto& entry : entries.Lines())
      files.Add(Kestrel::CommonLib::CombinePath(entry, note.BaseDir));
    note.Files = std::move(files);
  }
  note.Title = FillTitle(std::move(note.Title), PlaceholdersOf(entries));
  return entries.Empty() ? std::string() : entries[0];
}

// After the tags of a front-matter block, those of the command line that it
// does not have already; no more than a note may take, unless "/AllowMany".
void ApplyTags(const TParamList& params, TJoplinNewNote& note) {
  const std::vector<std::string> fromBlock = note.Tags.Lines();
  const TStringList given = SwitchValuesThenList(params, "T", "TT");
  for (const auto& tag : given.Lines()) {
    const bool inBlock = std::any_of(fromBlock.begin(), fromBlock.end(), [&tag](const auto& known) {
      return Kestrel::CommonLib::SameText(known, tag);
    });
    if (!inBlock)
      note.Tags.Add(tag);
  }
  if (FindSwitch(params, "AllowMany"))
    return;
  std::vector<std::string> tags = note.Tags.Lines();
  if (const std::string dropped = JoplinRestUtils::BoundTags(tags); !dropped.empty()) {
    Kestrel::CommonLib::Warn(dropped);
    note.Tags.Clear();
    for (auto& tag : tags)
      note.Tags.Add(std::move(tag));
  }
}

void ApplyDates(const TParamList& params, const std::string& firstAttachment,
                TJoplinNewNote& note) {
  note.CTime = DateOfSwitch(params, "C", firstAttachment);
  note.MTime = DateOfSwitch(params, "E", firstAttachment);
  // "/Due" makes a to-do; "/Completed" marks one done.
  note.TodoDue = DateOfSwitch(params, "Due", firstAttachment, TUnreadableDate::IsAnError);
  note.TodoCompleted = note.TodoCompleted || FindSwitch(params, "Completed");
  note.IsTodo = note.IsTodo || FindSwitch(params, "Todo") || note.TodoDue > 0 || note.TodoCompleted;
}

}  // namespace Quillpost
