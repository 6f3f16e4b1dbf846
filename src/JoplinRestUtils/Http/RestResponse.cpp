#include "JoplinRestUtils/Http/RestResponse.hpp"

#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Http/HttpCharset.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/Utf8.hpp"

namespace JoplinRestUtils {
namespace {

// "text/html; charset=ISO-8859-1" gives "text/html" and "ISO-8859-1".
void SplitContentType(std::string_view contentType, std::string& mediaType, std::string& charset) {
  const size_t semicolon = contentType.find(';');
  mediaType =
      Platform::AsciiLowerCase(Kestrel::CommonLib::TrimText(contentType.substr(0, semicolon)));
  charset.clear();
  size_t pos = semicolon;
  while (pos != std::string_view::npos) {
    const size_t next = contentType.find(';', pos + 1);
    const std::string_view parameter = Kestrel::CommonLib::TrimText(
        contentType.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1));
    const size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        Kestrel::CommonLib::SameText(Kestrel::CommonLib::TrimText(parameter.substr(0, equals)),
                                     "charset")) {
      std::string_view value = Kestrel::CommonLib::TrimText(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      charset = value;
    }
    pos = next;
  }
}

bool IsBinaryMediaType(const std::string& mediaType) {
  return mediaType.starts_with("image/") || mediaType.starts_with("audio/") ||
         mediaType.starts_with("video/") || mediaType.starts_with("font/") ||
         Kestrel::CommonLib::MatchesAnyStr(
             mediaType, {"application/octet-stream", "application/pdf", "application/zip",
                         "application/gzip", "application/x-7z-compressed", "application/x-tar"});
}

}  // namespace

void TRestResponse::Fill(Platform::HttpResponse&& answer) {
  *this = TRestResponse();
  FUrl = std::move(answer.Url);
  FStatusCode = answer.StatusCode;
  FStatusText = std::move(answer.StatusText);
  SplitContentType(answer.ContentType, FMediaType, FCharset);
  for (auto& [name, value] : answer.Headers) {
    if (Kestrel::CommonLib::SameText(name, "server"))
      FServer = value;
    if (Kestrel::CommonLib::SameText(name, "set-cookie"))
      FCookies.push_back(value);
    FHeaders.Add(name + "=" + value);
  }
  FRawBytes = std::move(answer.Body);
  const bool success = FStatusCode < 300;
  if (success && IsBinaryMediaType(FMediaType))
    return;
  // Without a charset, or with one unknown here, the answer is read as UTF-8.
  if (FCharset.empty() || !Platform::DecodeCharset(FRawBytes, FCharset, FContent))
    FContent = Platform::SanitizeUtf8(FRawBytes);
}

std::optional<TJsonValue> TRestResponse::TakeJsonValue() {
  JsonValue();
  std::string().swap(FRawBytes);
  std::string().swap(FContent);
  FJsonParsed = false;
  return std::move(FJsonValue);
}

const std::optional<TJsonValue>& TRestResponse::JsonValue() {
  if (!FJsonParsed) {
    FJsonValue = ParseJson(FContent);
    FJsonParsed = true;
  }
  return FJsonValue;
}

}  // namespace JoplinRestUtils
