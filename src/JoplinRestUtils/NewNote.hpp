#pragma once
// The note to create: filled by the front end, read by CreateNote.
#include <cstdint>
#include <optional>
#include <string>

#include "JoplinRestUtils/LocalFilePolicy.hpp"
#include "JoplinRestUtils/Markup/FrontMatter.hpp"
#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

inline constexpr std::int32_t kMarkupMarkdown = 1;
inline constexpr std::int32_t kMarkupHtml = 2;

struct TJoplinNewNote {
  std::string NotebookName;  // empty: none
  std::string Title = "NoName";
  std::string Body;                         // in the markup language below
  Kestrel::CommonLib::TDateTime CTime = 0;  // 0: not given
  Kestrel::CommonLib::TDateTime MTime = 0;  // 0: not given
  Kestrel::CommonLib::TStringList Files;    // paths to upload and link, in order
  Kestrel::CommonLib::TStringList Tags;     // tag titles, in order
  // The local images an HTML body shows: uploaded and relinked in place,
  // whatever Files holds; a file of Files that is none of them is linked at
  // the end of the body.
  Kestrel::CommonLib::TStringList BodyImages;
  std::int32_t MarkupLanguage = kMarkupMarkdown;
  std::string BaseDir;           // resolves relative attachment paths
  bool CreateNotebooks = false;  // create the missing notebooks of NotebookName
  bool LinkLocalFiles = false;   // upload what a Markdown body file links to
  TLocalFilePolicy LocalFiles;   // which files the body may pull in
  // A to-do, with its due date (0: none) and whether it is done.
  bool IsTodo = false;
  Kestrel::CommonLib::TDateTime TodoDue = 0;
  bool TodoCompleted = false;
  std::string SourceUrl;  // empty: none
  std::string Author;     // empty: none
  // Dates that a front-matter block gives as instants (Unix epoch
  // milliseconds); the local date-times above win where they are given.
  std::optional<std::int64_t> CreatedMs;
  std::optional<std::int64_t> UpdatedMs;
  std::optional<std::int64_t> DueMs;
  // Where the note was written, when known.
  std::optional<double> Latitude;
  std::optional<double> Longitude;
  std::optional<double> Altitude;
};

// The state a front-matter block gives a note: its dates as instants, its
// place, and whether it is a to-do (a due date or "completed?") and done.
void TakeFrontMatterState(const TFrontMatter& fields, TJoplinNewNote& note);

}  // namespace JoplinRestUtils
