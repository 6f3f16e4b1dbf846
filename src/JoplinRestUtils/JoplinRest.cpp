#include "JoplinRestUtils/JoplinRest.hpp"

#include "JoplinRestUtils/Directories.hpp"
#include "JoplinRestUtils/Http/PercentEncoding.hpp"
#include "JoplinRestUtils/Http/RequestBodies.hpp"
#include "JoplinRestUtils/Json/AnswerMembers.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/Json/JsonTextStream.hpp"
#include "JoplinRestUtils/NotebookResolution.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {
namespace {

bool NeedsQuoting(std::string_view field) {
  for (const char c : field) {
    if (c == ',' || c == '"' || static_cast<unsigned char>(c) <= 0x20)
      return true;
  }
  return false;
}

std::string QuoteField(std::string_view field) {
  if (!NeedsQuoting(field))
    return std::string(field);
  return "\"" + Kestrel::CommonLib::ReplaceText(field, "\"", "\"\"", true, true) + "\"";
}

std::string FieldsQuery(const std::vector<std::string>& fields) {
  if (fields.size() == 1 && fields[0].empty())
    return "fields=\"\"";
  std::string query = "fields=";
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      query += ',';
    query += QuoteField(fields[i]);
  }
  return query;
}

}  // namespace

TJoplinRest::TJoplinRest(std::string AToken, std::string_view ABaseUrl,
                         Platform::HttpLimits ALimits)
    : FToken(std::move(AToken)), FRestClient(ABaseUrl, ALimits) {}

// The token as one query value: "sec#ret" must not end the URL there, nor
// "x&fields=x" add a parameter. Joplin's own tokens are hexadecimal and pass
// as they are.
std::string TJoplinRest::AppendToken(std::string_view AResource) const {
  const char* separator = AResource.find('?') != std::string_view::npos ? "&token=" : "?token=";
  return std::string(AResource) + separator + PercentEncode(FToken, IsUnreservedInUrl);
}

bool TJoplinRest::Get(std::string_view AResource, const std::vector<std::string>& Fields,
                      std::string_view OrderBy, bool Asc, int Limit) {
  std::string query;
  if (!Fields.empty())
    query = FieldsQuery(Fields);
  if (Kestrel::CommonLib::IsNotEmptyText(OrderBy, false)) {
    if (!query.empty())
      query += '&';
    query += "order_by=" + std::string(OrderBy) +
             "&order_dir=" + Kestrel::CommonLib::IfThenStr(Asc, "ASC", "DESC");
    if (Limit > 0)
      query += "&limit=" + std::to_string(Limit);
  }
  if (!query.empty())
    query = "?" + query;
  return Request(TRESTRequestMethod::rmGET, std::string(AResource) + query).AnsweredBelow500();
}

bool TJoplinRest::Post(std::string_view AResource, const TJsonValue* AJsonObject) {
  return Request(TRESTRequestMethod::rmPOST, AResource, AJsonObject).AnsweredBelow500();
}

bool TJoplinRest::Put(std::string_view AResource, const TJsonValue* AJsonObject) {
  return Request(TRESTRequestMethod::rmPUT, AResource, AJsonObject).AnsweredBelow500();
}

bool TJoplinRest::Delete(std::string_view AResource, const TJsonValue* AJsonObject) {
  return Request(TRESTRequestMethod::rmDELETE, AResource, AJsonObject).AnsweredBelow500();
}

namespace {

// What is read of the answer to a request that creates or changes an object:
// the server echoes the object whole (a note's body too), and only its id,
// its title, its notebook, a note's update time and an error text are ever
// used.
std::shared_ptr<TAnswerMembers> EchoFilter() {
  return std::make_shared<TAnswerMembers>(
      std::vector<std::string>{"id", "title", "parent_id", "user_updated_time", "error"});
}

}  // namespace

TRequestOutcome TJoplinRest::Request(TRESTRequestMethod AMethod, std::string_view AResource,
                                     const TJsonValue* AJsonObject,
                                     std::shared_ptr<Platform::HttpAnswerFilter> filter) {
  TRestRequest request;
  request.Method = AMethod;
  request.Resource = AppendToken(AResource);
  if (AJsonObject != nullptr) {
    request.ContentType = "application/json";
    request.HasBody = true;
    // Written while it is sent: a note's body is never held twice.
    request.Body.push_back(Platform::HttpBodyPart::OfSource(
        std::make_shared<TJsonTextStream>(*AJsonObject, kEscapeAll)));
  } else if (AMethod == TRESTRequestMethod::rmPOST || AMethod == TRESTRequestMethod::rmPUT) {
    request.ContentType = "application/x-www-form-urlencoded";
    request.HasBody = true;
  }
  if (filter)
    request.AnswerFilter = std::move(filter);
  else if (request.HasBody)
    request.AnswerFilter = EchoFilter();
  FRestClient.Execute(std::move(request), FRestResponse);
  return FRestClient.LastOutcome();
}

bool TJoplinRest::PostFile(std::string_view AResource, const std::string& AFilePath,
                           const TJsonValue* AJsonObject) {
  const bool hasFile = !AFilePath.empty() && Platform::FileExists(AFilePath);
  if (!hasFile && AJsonObject == nullptr)
    return false;
  const std::string props =
      AJsonObject != nullptr ? WriteJsonCompact(*AJsonObject, kEscapeNothing) : std::string();
  TRestRequest request;
  request.Method = TRESTRequestMethod::rmPOST;
  request.Resource = AppendToken(AResource);
  request.HasBody = true;
  std::optional<Platform::ProgressLine> progress;
  if (hasFile) {
    const std::string boundary = MakeMultipartBoundary();
    request.ContentType = "multipart/form-data; boundary=" + boundary;
    request.Body = MultipartBody(boundary, AFilePath, AJsonObject != nullptr, props);
    progress.emplace(Kestrel::CommonLib::DisplayFileName(AFilePath));
    request.OnUpload = [&progress](std::uint64_t sent, std::uint64_t total) {
      progress->Update(sent, total);
    };
  } else {
    request.ContentType = "application/x-www-form-urlencoded";
    request.Body.push_back(Platform::HttpBodyPart::OfText(FormBody(props)));
  }
  request.AnswerFilter = EchoFilter();
  return FRestClient.Execute(std::move(request), FRestResponse);
}

std::string TJoplinRest::ResponseJsonText() {
  if (FRestResponse.Content().empty())
    return {};
  const auto& value = FRestResponse.JsonValue();
  return value ? WriteJsonIndented(*value) : std::string();
}

void TJoplinRest::SetFoldersList(std::string_view AJsonStr) {
  StoreDirectoryPage(FFolderList, AJsonStr, &FFolderParents);
}

void TJoplinRest::SetTagsList(std::string_view AJsonStr) {
  StoreDirectoryPage(FTagList, AJsonStr, nullptr);
}

std::string TJoplinRest::FindNotebookId(std::string_view ANotebookName) {
  if (FFolderList.Empty())
    FetchDirectory(*this, FFolderList, "folders", &FFolderParents, false);
  return FindTitleFromEnd(FFolderList, ANotebookName);
}

std::string TJoplinRest::FindTagId(std::string_view ATagName, bool ACreate) {
  if (FTagList.Empty())
    FetchDirectory(*this, FTagList, "tags", nullptr, false);
  std::string id = FindTitleFromEnd(FTagList, ATagName);
  if (!id.empty() || !ACreate)
    return id;
  TJsonValue tag = TJsonValue::object();
  tag["title"] = std::string(ATagName);
  std::string title;
  if (!Post("tags", &tag) || !ParseIdAndTitle(ResponseJsonText(), id, title))
    return {};
  FTagList.SetValue(id, title);
  return id;
}

bool TJoplinRest::ReadNotebooks() {
  return FetchDirectory(*this, FFolderList, "folders", &FFolderParents, true);
}

bool TJoplinRest::ReadTags() {
  return FetchDirectory(*this, FTagList, "tags", nullptr, true);
}

bool TJoplinRest::ResolveNotebook(std::string_view ANotebookName, bool ACreate,
                                  std::string& varNotebookId) {
  if (FFolderList.Empty() && !ReadNotebooks())
    return false;
  TNotebookResolution resolution{*this, FFolderList, FFolderParents};
  return resolution.Resolve(ANotebookName, ACreate, varNotebookId);
}

}  // namespace JoplinRestUtils
