#include "Quillpost/Steps/BodyStep.hpp"

#include <optional>
#include <unordered_set>
#include <vector>

#include "JoplinRestUtils/LocalFilePolicy.hpp"
#include "JoplinRestUtils/Markup/HtmlInertParts.hpp"
#include "JoplinRestUtils/Markup/HtmlScanning.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/LineBreaks.hpp"
#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Text/Charset.hpp"
#include "Platform/Text/TextDecoding.hpp"
#include "Quillpost/Steps/BodyFileError.hpp"
#include "Quillpost/Steps/FrontMatterStep.hpp"
#include "Quillpost/Steps/StdinLines.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TJoplinNewNote;
using Kestrel::CommonLib::TParamList;
using Kestrel::CommonLib::TStringList;

bool IsHtmlFileName(std::string_view path) {
  return Kestrel::CommonLib::MatchesAnyText(Kestrel::CommonLib::ExtractFileExt(path),
                                            {".html", ".htm"});
}

void TakeHtmlTitle(const std::string& html, TJoplinNewNote& note) {
  const std::optional<JoplinRestUtils::THtmlMatch> title = JoplinRestUtils::FindHtmlTitle(html);
  if (title && Kestrel::CommonLib::IsNotEmptyText(title->Inner, true))
    note.Title = std::string(Kestrel::CommonLib::TrimText(title->Inner));
}

// The full path of a local image that a reference names, or nothing for a web
// address, a reference that is no valid path, or no existing image file.
std::optional<std::string> LocalImage(const std::string& reference, const std::string& baseDir) {
  std::optional<std::string> path = JoplinRestUtils::ResolveLocalReference(reference, baseDir);
  if (!path || !JoplinRestUtils::IsImageFile(*path) || !Platform::FileExists(*path))
    return std::nullopt;
  return path;
}

// The page's local images that it may upload; those it may not stay as
// written, each with one warning. Comments and scripts show no image.
void CollectHtmlImages(const std::string& html, TJoplinNewNote& note) {
  TStringList images;
  const std::vector<JoplinRestUtils::TTextRange> inert = JoplinRestUtils::FindInertParts(html);
  std::unordered_set<std::string> warned;
  const JoplinRestUtils::TLocalFileJudge judge(note.LocalFiles);
  for (const auto& reference : JoplinRestUtils::FindImageReferences(html, true)) {
    if (JoplinRestUtils::LiesInAny(inert, reference.Start))
      continue;
    std::optional<std::string> image = LocalImage(std::string(reference.Inner), note.BaseDir);
    if (!image)
      continue;
    const auto verdict = judge.Judge(*image);
    if (verdict == JoplinRestUtils::TLocalFileVerdict::Allowed) {
      images.Add(std::move(*image));
    } else if (warned.insert(*image).second) {
      Kestrel::CommonLib::Warn(
          JoplinRestUtils::LeftLinkWarning(verdict, std::string(reference.Inner)));
    }
  }
  if (!images.Empty())
    note.Files = images;
  note.BodyImages = std::move(images);
}

// A body uploads only files under its own folder, unless "/AllowOutside"
// trusts it, and only so many, unless "/AllowMany" does. The settings files
// of the run are never among them (set before this step).
void SetLocalFilePolicy(const TParamList& params, TJoplinNewNote& note) {
  if (!FindSwitch(params, "AllowOutside"))
    note.LocalFiles.Folder = note.BaseDir;
  if (FindSwitch(params, "AllowMany")) {
    note.LocalFiles.MaxFiles = 0;
    note.LocalFiles.MaxBytes = 0;
  }
}

std::string BodyFileFailure(const std::string& path,
                            const Kestrel::CommonLib::TTextLoadFailure& failure,
                            Platform::TextEncoding encoding) {
  std::string message = "Cannot load the body file \"" + path + "\": " + failure.Reason;
  if (failure.Undecodable && encoding == Platform::TextEncoding::Utf8)
    message += " (add /DefEnc to read it as " + Platform::AnsiCodePageName() + ")";
  return message;
}

// The joined body of the "/S" file, or nothing when no file is named. Throws
// EBodyFileError when the named file cannot be loaded.
std::optional<std::string> LoadBodyFile(const TArguments& args, TJoplinNewNote& note) {
  const TParamList& params = args.Text;
  std::string path;
  // "/S -" names standard input, as for most tools.
  if (!SwitchValue(args.Paths, "S", path) || path == "-")
    return std::nullopt;
  const auto encoding =
      FindSwitch(params, "DefEnc") ? Platform::TextEncoding::Ansi : Platform::TextEncoding::Utf8;
  std::string loaded;
  Kestrel::CommonLib::TTextLoadFailure failure;
  if (!Kestrel::CommonLib::LoadTextFileHonouringMark(path, encoding, loaded, failure))
    throw EBodyFileError(BodyFileFailure(Platform::DecodeFromLocale(path), failure, encoding));
  // The file was opened, so its name is a path here whatever characters it holds.
  note.BaseDir =
      std::string(Kestrel::CommonLib::ExtractFileDir(Kestrel::CommonLib::AbsolutePath(path)));
  note.LinkLocalFiles = !FindSwitch(params, "NoLocal");
  SetLocalFilePolicy(params, note);
  if (IsHtmlFileName(path)) {
    note.MarkupLanguage = JoplinRestUtils::kMarkupHtml;
    if (!FindSwitch(params, "I"))
      TakeHtmlTitle(loaded, note);
    if (note.LinkLocalFiles)
      CollectHtmlImages(loaded, note);
  }
  Kestrel::CommonLib::JoinLinesInPlace(loaded);
  return loaded;
}

// Standard input, with the prompt only where a person may be typing.
std::string ReadBodyFromStdin(const TParamList& params, Platform::ByteReader& stdinBytes) {
  if (FindSwitch(params, "SN"))
    return {};
  if (Platform::StandardInputIsTerminal())
    Platform::WriteErrorLine(kStdinPrompt);
  return ReadStdinText(FindSwitch(params, "Utf8"), stdinBytes);
}

// "/LT": a first line that is not blank becomes the title and leaves the body.
void TakeFirstLineAsTitle(std::string& body, TJoplinNewNote& note) {
  if (body.empty())
    return;
  const std::string_view first = Kestrel::CommonLib::FirstJoinedLine(body);
  if (Kestrel::CommonLib::IsEmptyText(first, true))
    return;
  note.Title = std::string(Kestrel::CommonLib::TrimText(first));
  body.erase(0, first.size() + 2);
}

}  // namespace

void ApplyBody(const TArguments& args, TJoplinNewNote& note, Platform::ByteReader& stdinBytes) {
  const TParamList& params = args.Text;
  std::optional<std::string> body = LoadBodyFile(args, note);
  std::string source = "standard input";
  if (body) {
    SwitchValue(args.Paths, "S", source);
    source = Platform::DecodeFromLocale(source);
  } else {
    body = ReadBodyFromStdin(params, stdinBytes);
  }
  ApplyFrontMatter(params, source, *body, note);
  if (FindSwitch(params, "LT"))
    TakeFirstLineAsTitle(*body, note);
  note.Body = std::move(*body);
}

}  // namespace Quillpost
