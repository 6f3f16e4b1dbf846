#include "JoplinRestUtils/Import/ImportNote.hpp"

#include <algorithm>
#include <unordered_set>

#include "JoplinRestUtils/Markup/FrontMatter.hpp"
#include "JoplinRestUtils/Markup/HtmlScanning.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/ImageRelinking.hpp"
#include "JoplinRestUtils/Markup/MarkdownTargets.hpp"
#include "JoplinRestUtils/Markup/WikiLinks.hpp"
#include "JoplinRestUtils/NoteFields.hpp"
#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/Sha256.hpp"
#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Files/FileTimes.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::Quoted;

struct TEdit {
  size_t Start = 0;
  size_t Length = 0;
  std::string Text;
};

std::int64_t InstantMs(const Platform::FileInstant& instant) {
  return instant.Seconds * 1000 + instant.Nanoseconds / 1000000;
}

// A heading as Joplin's anchors write it: lower case, blanks as "-".
std::string HeadingAnchor(std::string_view heading) {
  std::string anchor;
  for (const char c : Kestrel::CommonLib::TrimText(heading))
    anchor += c == ' ' ? '-' : Platform::AsciiLower(c);
  return anchor;
}

std::string ApplyEdits(const std::string& body, std::vector<TEdit>& edits) {
  if (edits.empty())
    return body;
  std::sort(edits.begin(), edits.end(),
            [](const auto& a, const auto& b) { return a.Start < b.Start; });
  std::string out;
  out.reserve(body.size());
  size_t copied = 0;
  for (const TEdit& edit : edits) {
    if (edit.Start < copied)
      continue;  // inside an edit already made
    out.append(body, copied, edit.Start - copied);
    out += edit.Text;
    copied = edit.Start + edit.Length;
  }
  out.append(body, copied, std::string::npos);
  return out;
}

class TNoteBuilder {
 public:
  TNoteBuilder(const TTreeNote& file, const TImportNames& names, TLinkedFiles& files,
               const TImportSettings& settings, TImportNote& note)
      : FFile(file),
        FNames(names),
        FFiles(files),
        FSettings(settings),
        FNote(note),
        FBaseDir(Kestrel::CommonLib::ExtractFileDir(file.Path)) {}

  void Build() {
    FNote.Id = FNames.NoteId(FFile.RelPath);
    std::string body;
    Kestrel::CommonLib::TTextLoadFailure failure;
    if (!Kestrel::CommonLib::LoadTextFileHonouringMark(FFile.Path, Platform::TextEncoding::Utf8,
                                                       body, failure)) {
      FNote.Failure = "cannot be read: " + failure.Reason;
      return;
    }
    FNote.Bytes = body.size();
    TFrontMatter fields;
    if (FFile.Markup == kMarkupMarkdown && FSettings.FrontMatter && !ReadFields(body, fields))
      return;
    body = FFile.Markup == kMarkupMarkdown ? LinkMarkdown(body) : LinkHtml(body);
    FillJson(fields, std::move(body));
    FNote.Digest = Kestrel::CommonLib::Sha256Hex(WriteJsonCompact(FNote.Json, kEscapeNothing));
  }

 private:
  bool ReadFields(std::string& body, TFrontMatter& fields) {
    TFrontMatterBlock block;
    const TFrontMatterSearch search = FindFrontMatter(body, block);
    if (search == TFrontMatterSearch::Unclosed)
      FNote.Warnings.push_back(FFile.RelPath +
                               ": the first line opens a front matter that no \"---\" line "
                               "closes; the text is sent as written");
    if (search != TFrontMatterSearch::Found)
      return true;
    try {
      fields = ReadFrontMatter(block, FFile.RelPath, FNote.Warnings);
    } catch (const EFrontMatterError& error) {
      // "a.md, line 3: ..." is told after the file's path already.
      std::string_view message = error.what();
      const std::string named = FFile.RelPath + ", ";
      if (message.substr(0, named.size()) == named)
        message.remove_prefix(named.size());
      FNote.Failure = std::string(error.KindName()) + ": " + std::string(message);
      return false;
    }
    body.erase(0, block.BodyStart);
    return true;
  }

  // The link to a file's content, uploading it once; empty when the file may
  // not or cannot be sent (with a warning).
  std::string ResourceLink(const std::string& path, const std::string& written) {
    const TLocalFileVerdict verdict = FFiles.Verdict(path);
    if (verdict != TLocalFileVerdict::Allowed) {
      FNote.Warnings.push_back(FFile.RelPath + ": " + LeftLinkWarning(verdict, written));
      return {};
    }
    const std::optional<std::string> hash = FFiles.HashOf(path);
    if (!hash) {
      FNote.Warnings.push_back(FFile.RelPath + ": the linked file " + Quoted(written) +
                               " cannot be read; its link is left as it is");
      return {};
    }
    const std::string id = FNames.ResourceId(*hash);
    const bool known = std::any_of(FNote.Resources.begin(), FNote.Resources.end(),
                                   [&](const auto& resource) { return resource.Id == id; });
    if (!known)
      FNote.Resources.push_back({path, *hash, id});
    return id;
  }

  void WarnNoFile(const std::string& written) {
    FNote.Warnings.push_back(FFile.RelPath + ": the link " + Quoted(written) +
                             " names no file; left as it is");
  }

  // "other.md#part", "img%20one.png": a note of the tree, or a file to upload.
  void LinkTarget(const std::string& written, size_t start, size_t length,
                  std::vector<TEdit>& edits) {
    const size_t hash = written.find('#');
    const std::string anchor = hash == std::string::npos ? "" : written.substr(hash);
    const std::optional<std::string> path =
        ResolveLocalReference(PercentDecode(written.substr(0, hash)), FBaseDir);
    if (!path) {
      WarnNoFile(written);
      return;
    }
    if (const TTreeNote* target = FNames.NoteAtPath(*path)) {
      edits.push_back({start, length, ":/" + FNames.NoteId(target->RelPath) + anchor});
      return;
    }
    if (!Platform::FileExists(*path)) {
      WarnNoFile(written);
      return;
    }
    const std::string id = ResourceLink(*path, written);
    if (!id.empty())
      edits.push_back({start, length, ":/" + id});
  }

  void LinkWiki(const std::string& body, const TWikiLink& link, std::vector<TEdit>& edits) {
    const std::string written = body.substr(link.Start, link.Length);
    const std::string shown(link.Alias.empty() ? link.Target : link.Alias);
    bool ambiguous = false;
    if (const TTreeNote* target = FNames.NoteByWikiName(link.Target, ambiguous)) {
      if (ambiguous)
        FNote.Warnings.push_back(FFile.RelPath + ": " + Quoted(written) +
                                 " names several notes; linked to " + Quoted(target->RelPath));
      const std::string anchor = link.Anchor.empty() ? "" : "#" + HeadingAnchor(link.Anchor);
      edits.push_back({link.Start, link.Length,
                       "[" + shown + "](:/" + FNames.NoteId(target->RelPath) + anchor + ")"});
      return;
    }
    // "![[image.png]]" beside the note, else at the tree's top.
    for (const std::string& base : {FBaseDir, FNames.Tree().Root}) {
      const std::optional<std::string> path = ResolveLocalReference(std::string(link.Target), base);
      if (!path || !Platform::FileExists(*path))
        continue;
      const std::string id = ResourceLink(*path, written);
      if (!id.empty())
        edits.push_back({link.Start, link.Length,
                         std::string(link.Embed && IsImageFile(*path) ? "!" : "") + "[" + shown +
                             "](:/" + id + ")"});
      return;
    }
    FNote.Warnings.push_back(FFile.RelPath + ": " + Quoted(written) +
                             " names no note or file of the tree; left as it is");
  }

  std::string LinkMarkdown(const std::string& body) {
    std::vector<TEdit> edits;
    for (const TMarkdownTarget& target : FindMarkdownTargets(body)) {
      const std::string written = body.substr(target.Start, target.Length);
      if (IsLocalTarget(written))
        LinkTarget(written, target.Start, target.Length, edits);
    }
    for (const TWikiLink& link : FindWikiLinks(body))
      LinkWiki(body, link, edits);
    return ApplyEdits(body, edits);
  }

  std::string LinkHtml(const std::string& body) {
    Kestrel::CommonLib::TStringList uploaded;
    for (const THtmlMatch& reference : FindImageReferences(body, true)) {
      const std::string written(reference.Inner);
      const std::optional<std::string> path = ResolveLocalReference(written, FBaseDir);
      if (!path || !Platform::FileExists(*path))
        continue;
      const std::string id = ResourceLink(*path, written);
      if (!id.empty())
        uploaded.SetValue(id, *path);
    }
    return uploaded.Empty() ? body : RelinkImageReferences(body, FBaseDir, uploaded);
  }

  std::string Tags(const TFrontMatter& fields) {
    std::vector<std::string> tags = fields.Tags;
    std::unordered_set<std::string> seen;
    for (const auto& tag : tags)
      seen.insert(Platform::AsciiLowerCase(tag));
    for (const auto& tag : FSettings.Tags) {
      if (seen.insert(Platform::AsciiLowerCase(tag)).second)
        tags.push_back(tag);
    }
    if (!FSettings.AllowMany) {
      if (const std::string dropped = BoundTags(tags); !dropped.empty())
        FNote.Warnings.push_back(FFile.RelPath + ": " + dropped);
    }
    std::string joined;
    for (const auto& tag : tags)
      joined += (joined.empty() ? "" : ", ") + tag;
    return joined;
  }

  void FillJson(const TFrontMatter& fields, std::string body) {
    TJsonValue& json = FNote.Json;
    json = TJsonValue::object();
    std::string title = fields.Title.value_or("");
    if (Kestrel::CommonLib::IsEmptyText(title, true))
      title =
          Kestrel::CommonLib::ExtractFileBaseName(Kestrel::CommonLib::DisplayFileName(FFile.Path));
    json["title"] = title;
    json["parent_id"] = FNames.FolderId(FFile.Folder);
    json["markup_language"] = FFile.Markup;
    // Unix milliseconds; 0: not known.
    Platform::FileTimeStamps times;
    const bool haveTimes = Platform::ReadFileTimes(FFile.Path, times);
    const std::int64_t created = fields.Created.value_or(haveTimes ? InstantMs(times.Creation) : 0);
    const std::int64_t updated =
        fields.Updated.value_or(haveTimes ? InstantMs(times.LastWrite) : 0);
    // Joplin refuses a time before 1970, and then holds the note's id locked.
    if (created < 0 || updated < 0)
      FNote.Warnings.push_back(FFile.RelPath +
                               ": the file's times are before 1970, which Joplin cannot store; "
                               "the note gets today's");
    if (created > 0)
      json["user_created_time"] = created;
    if (updated > 0)
      json["user_updated_time"] = updated;
    json["tags"] = Tags(fields);
    TJoplinNewNote extra;
    TakeFrontMatterState(fields, extra);
    extra.SourceUrl = fields.Source.value_or("");
    extra.Author = fields.Author.value_or("");
    AddTodoAndSource(extra, json);
    // A done to-do was done when the file was last changed (not when the run
    // sends it), so that the note reads the same on every run.
    if (extra.TodoCompleted)
      json["todo_completed"] = updated != 0 ? updated : created != 0 ? created : 1;
    json["body"] = std::move(body);
  }

  const TTreeNote& FFile;
  const TImportNames& FNames;
  TLinkedFiles& FFiles;
  const TImportSettings& FSettings;
  TImportNote& FNote;
  std::string FBaseDir;
};

}  // namespace

TImportNote BuildImportNote(const TTreeNote& file, const TImportNames& names, TLinkedFiles& files,
                            const TImportSettings& settings) {
  TImportNote note;
  TNoteBuilder(file, names, files, settings, note).Build();
  // What one note pulls in is bounded as a single note's body is.
  std::vector<std::string> linked;
  for (const TImportResource& resource : note.Resources)
    linked.push_back(resource.Path);
  try {
    CheckBodyFileBound(settings.LocalFiles, linked);
  } catch (const EBodyFilesBeyondBound& error) {
    note.Failure = std::string(error.KindName()) + ": " + error.what();
  }
  return note;
}

}  // namespace JoplinRestUtils
