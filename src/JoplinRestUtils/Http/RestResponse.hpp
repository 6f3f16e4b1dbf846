#pragma once
// The store of the last answer that reached the server: every answer replaces
// it whole, a request without answer leaves it as it was.
#include <optional>
#include <string>
#include <vector>

#include "JoplinRestUtils/Json/Json.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

class TRestResponse {
 public:
  void Fill(Platform::HttpResponse&& answer);

  const std::string& FullRequestUrl() const { return FUrl; }
  long StatusCode() const { return FStatusCode; }
  const std::string& StatusText() const { return FStatusText; }
  const std::string& Server() const { return FServer; }
  const std::string& ContentType() const { return FMediaType; }
  const std::string& ContentEncoding() const { return FCharset; }
  const Kestrel::CommonLib::TStringList& Headers() const { return FHeaders; }
  const std::vector<std::string>& Cookies() const { return FCookies; }
  const std::string& RawBytes() const { return FRawBytes; }
  // The body as text; empty for a successful binary answer.
  const std::string& Content() const { return FContent; }
  // The body parsed as JSON on first use; nothing when it is empty or not JSON.
  const std::optional<TJsonValue>& JsonValue();
  // The same, moved out, with the body's bytes and text let go: a large
  // answer is then held once, not three times.
  std::optional<TJsonValue> TakeJsonValue();

 private:
  std::string FUrl;
  long FStatusCode = 0;
  std::string FStatusText;
  std::string FServer;
  std::string FMediaType;
  std::string FCharset;
  Kestrel::CommonLib::TStringList FHeaders;
  std::vector<std::string> FCookies;
  std::string FRawBytes;
  std::string FContent;
  bool FJsonParsed = false;
  std::optional<TJsonValue> FJsonValue;
};

}  // namespace JoplinRestUtils
