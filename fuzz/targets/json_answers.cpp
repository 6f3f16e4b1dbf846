// Answers of the Data API: parsing with its depth limit and raw numbers, the
// reading rules, directories, ids, and the written forms.
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json.hpp"
#include "JoplinRestUtils/JsonReading.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace JoplinRestUtils;
  const std::string_view text = Fuzz::AsText(data, size);
  const std::optional<TJsonValue> value = ParseJson(text);
  if (value) {
    WriteJsonIndented(*value);
    WriteJsonCompact(*value, {true, true});
  }
  std::string id, title;
  ParseIdAndTitle(text, id, title);
  ReadAnswerId(value, id, true);
  static TJoplinRest client("token", "http://127.0.0.1:1");
  try {
    client.SetFoldersList(text);
    client.SetTagsList(text);
  } catch (const Platform::Error&) {
    // Wrong shapes are errors by design.
  }
  return 0;
}
