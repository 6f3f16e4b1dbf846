// Answers of the Data API: parsing with its depth limit and raw numbers, the
// reading rules, directories, ids, and the written forms (the streamed form
// must give the very bytes of the whole one).
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/Json/JsonTextStream.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace JoplinRestUtils;
  const std::string_view text = Fuzz::AsText(data, size);
  const std::optional<TJsonValue> value = ParseJson(text);
  if (value) {
    WriteJsonIndented(*value);
    TJsonValue note = TJsonValue::object();
    note["body"] = std::string(text) + std::string(70000 - std::min<size_t>(size, 70000), 'x');
    note["value"] = *value;
    for (const TJsonEscaping escaping : {TJsonEscaping{true, true}, TJsonEscaping{false, false}}) {
      const std::string whole = WriteJsonCompact(note, escaping);
      TJsonTextStream stream(note, escaping);
      std::string streamed;
      char buffer[7];
      while (const size_t got = stream.Read(buffer, sizeof buffer))
        streamed.append(buffer, got);
      if (streamed != whole || stream.Size() != whole.size())
        __builtin_trap();
    }
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
