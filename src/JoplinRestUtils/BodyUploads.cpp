#include "JoplinRestUtils/BodyUploads.hpp"

#include <unordered_set>
#include <vector>

#include "JoplinRestUtils/Markup/HtmlEscape.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/ImageRelinking.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Console/Console.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

// Markdown: one link per uploaded file at the end, an image link for images.
void AppendLinks(std::string& body, const TStringList& uploaded) {
  for (const auto& entry : uploaded.Lines()) {
    const std::string_view path = TStringList::ValueOf(entry);
    body += "\r\n";
    if (IsImageFile(path))
      body += "!";
    body += "[" + Kestrel::CommonLib::DisplayFileName(path) + "](:/" +
            std::string(TStringList::NameOf(entry)) + ")";
  }
}

// HTML: the uploaded files that the page does not show, linked at its end,
// images as images.
void AppendHtmlLinks(std::string& body, const TStringList& uploaded,
                     const std::unordered_set<std::string>& shownByPage) {
  for (const auto& entry : uploaded.Lines()) {
    const std::string_view path = TStringList::ValueOf(entry);
    if (shownByPage.count(std::string(path)) != 0)
      continue;
    const std::string id(TStringList::NameOf(entry));
    const std::string name = EscapeHtml(Kestrel::CommonLib::DisplayFileName(path));
    body += "\r\n";
    body += IsImageFile(path) ? "<img src=\":/" + id + "\" alt=\"" + name + "\">"
                              : "<a href=\":/" + id + "\">" + name + "</a>";
  }
}

// The page's own images first, then the attachments that are not among them.
TStringList PageImagesThenAttachments(const TStringList& images, const TStringList& attachments) {
  TStringList files = images;
  for (const auto& file : attachments.Lines())
    files.Add(file);
  return files;
}

// The files of id=file entries, for asking "already sent?" without a search.
std::unordered_set<std::string> FilesOf(const TStringList& uploaded) {
  std::unordered_set<std::string> files;
  for (const auto& entry : uploaded.Lines())
    files.emplace(TStringList::ValueOf(entry));
  return files;
}

void WarnNotUploaded(const std::string& file, const std::string& failure) {
  Kestrel::CommonLib::Warn(
      "attachment " + Kestrel::CommonLib::QuotedPath(file) + " was not uploaded (" +
      (failure.empty() ? std::string("the answer held no resource id") : failure) + "); skipped");
}

// Names an upload that the body causes, where a person watches standard error.
void TellBodyUpload(const std::string& path) {
  if (Platform::StandardErrorIsTerminal())
    Kestrel::CommonLib::TellCause("uploading " + Kestrel::CommonLib::QuotedPath(path) +
                                  ", which the body links to");
}

}  // namespace

TMarkdownLinkPlan TBodyUploads::Plan(const TJoplinNewNote& note) {
  const bool html = note.MarkupLanguage == kMarkupHtml;
  TMarkdownLinkPlan plan;
  if (!html && note.LinkLocalFiles)
    plan = PlanMarkdownLinks(note.Body, note.BaseDir, note.LocalFiles);
  CheckBodyFileBound(note.LocalFiles, html ? note.BodyImages.Lines() : plan.Files);
  return plan;
}

bool TBodyUploads::Upload(const std::string& file, std::string& resourceId) {
  if (FClient.UploadResourceFile(file, resourceId))
    return true;
  // Once the time for answers has run out, no further upload can succeed.
  FStopped = FStopped || FClient.RestClient().LastRequestOutOfTime();
  return false;
}

bool TBodyUploads::UploadAndLink(TJoplinNewNote& note, const TMarkdownLinkPlan& plan,
                                 std::string& body, TStringList& uploaded) {
  const bool html = note.MarkupLanguage == kMarkupHtml;
  body = std::move(note.Body);
  TStringList linkedFromBody;
  if (!html)
    LinkLocalFiles(body, plan, linkedFromBody);
  // An attachment that the body links to already is neither sent nor linked again.
  const std::unordered_set<std::string> linkedFiles = FilesOf(linkedFromBody);
  TStringList attachments;
  for (const auto& file : note.Files.Lines()) {
    if (linkedFiles.count(file) == 0)
      attachments.Add(file);
  }
  uploaded = html ? UploadFiles(PageImagesThenAttachments(note.BodyImages, attachments), true,
                                note.BodyImages.Count())
                  : UploadFiles(attachments, false, 0);
  if (!FStopped) {
    if (html) {
      body = RelinkImageReferences(body, note.BaseDir, uploaded);
      const auto& images = note.BodyImages.Lines();
      AppendHtmlLinks(body, uploaded, {images.begin(), images.end()});
    } else {
      AppendLinks(body, uploaded);
    }
  }
  for (const auto& entry : linkedFromBody.Lines())
    uploaded.Add(entry);
  return !FStopped;
}

TStringList TBodyUploads::UploadFiles(const TStringList& files, bool onceEach, size_t fromBody) {
  TStringList uploaded;
  std::unordered_set<std::string> sent;
  for (size_t i = 0; i < files.Count() && !FStopped; ++i) {
    const std::string& file = files[i];
    // Every reference of an HTML body to one file can share one resource.
    if (onceEach && sent.count(file) != 0)
      continue;
    if (i < fromBody)
      TellBodyUpload(file);
    std::string resourceId;
    if (Upload(file, resourceId)) {
      uploaded.SetValue(resourceId, file);
      sent.insert(file);
    } else {
      WarnNotUploaded(file, FClient.LastFailure());
    }
  }
  return uploaded;
}

void TBodyUploads::LinkLocalFiles(std::string& body, const TMarkdownLinkPlan& plan,
                                  TStringList& uploaded) {
  std::vector<std::string> ids(plan.Files.size());
  for (size_t i = 0; i < plan.Files.size() && !FStopped; ++i) {
    const std::string& path = plan.Files[i];
    TellBodyUpload(path);
    if (!Upload(path, ids[i])) {
      ids[i].clear();
      Kestrel::CommonLib::Warn("the file " + Kestrel::CommonLib::QuotedPath(path) +
                               " that the body links to was not uploaded (" +
                               FClient.LastFailure() + "); its link is left as it is");
      continue;
    }
    uploaded.SetValue(ids[i], path);
  }
  std::string linked;
  size_t copied = 0;
  for (const TPlannedLink& link : plan.Links) {
    if (ids[link.File].empty())
      continue;
    if (linked.empty())
      linked.reserve(body.size());
    linked.append(body, copied, link.Start - copied);
    linked += ":/" + ids[link.File];
    copied = link.Start + link.Length;
  }
  // A body without local links is left as it is, not copied.
  if (copied == 0)
    return;
  linked.append(body, copied, std::string::npos);
  body = std::move(linked);
}

void TBodyUploads::Remove(const TStringList& uploaded) {
  // Taking back what was sent gets time of its own, even when the run's time
  // for answers is spent.
  if (!uploaded.Empty())
    FClient.GrantAnswerSeconds(kCleanUpSeconds);
  for (const auto& entry : uploaded.Lines()) {
    const std::string id(TStringList::NameOf(entry));
    const TRequestOutcome removed =
        FClient.Request(TRESTRequestMethod::rmDELETE, "resources/" + id);
    if (!removed.Succeeded()) {
      Kestrel::CommonLib::Warn("the resource " + id +
                               " uploaded for the note could not be removed (" + removed.Failure +
                               ")");
    }
  }
}

}  // namespace JoplinRestUtils
