#include "JoplinRestUtils/Json/DirectoryPage.hpp"

#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"

namespace JoplinRestUtils {
namespace {

// A member as the page reader saw it: missing, a text, or a container.
struct TField {
  enum class TState { Missing, Text, Object, Array };
  TState State = TState::Missing;
  std::string Text;
};

struct TRawItem {
  bool IsObject = false;
  TField Id;
  TField Title;
  TField ParentId;
};

// What the page's text holds of interest; the shape is judged afterwards.
struct TRawPage {
  bool RootIsObject = false;
  TField::TState ItemsState = TField::TState::Missing;
  std::vector<TRawItem> Items;
  bool HasMore = false;
};

// Collects the members of interest as the text is read. Depth 1 is inside
// the page object, 2 inside "items", 3 inside one item.
class TPageReader {
 public:
  explicit TPageReader(TRawPage& page) : FPage(page) {}

  // Scalars are turned into text only where they are kept, and the parser's
  // own buffers are copied from, never taken: taking them would cost it an
  // allocation for every token.
  bool null() {
    return Scalar([](std::string& text) { text.clear(); });
  }
  bool boolean(bool value) {
    const bool scalar = Scalar([value](std::string& text) { text = value ? "true" : "false"; });
    if (AtPageMember("has_more"))
      FPage.HasMore = value;
    return scalar;
  }
  bool number_integer(TJsonValue::number_integer_t value) {
    return Scalar([value](std::string& text) { text = std::to_string(value); });
  }
  bool number_unsigned(TJsonValue::number_unsigned_t value) {
    return Scalar([value](std::string& text) { text = std::to_string(value); });
  }
  bool number_float(TJsonValue::number_float_t, const std::string& written) {
    return Scalar([&written](std::string& text) { text.assign(written); });
  }
  bool string(std::string& value) {
    return Scalar([&value](std::string& text) { text.assign(value); });
  }
  bool binary(TJsonValue::binary_t&) { return false; }
  bool key(std::string& name) {
    FKey.assign(name);
    return true;
  }
  bool start_object(std::size_t) { return Open(TField::TState::Object); }
  bool start_array(std::size_t) { return Open(TField::TState::Array); }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
  }

 private:
  bool AtPageMember(std::string_view name) const {
    return FDepth == 1 && FPage.RootIsObject && FKey == name;
  }

  // The item member that the current key names, if it is one of interest.
  TField* ItemField() {
    if (FDepth != 3 || !FInItems || FPage.Items.empty() || !FPage.Items.back().IsObject)
      return nullptr;
    TRawItem& item = FPage.Items.back();
    if (FKey == "id")
      return &item.Id;
    if (FKey == "title")
      return &item.Title;
    if (FKey == "parent_id")
      return &item.ParentId;
    return nullptr;
  }

  // A scalar value where the reader stands; a later duplicate member wins.
  template <class TWriteText>
  bool Scalar(TWriteText writeText) {
    if (AtPageMember("has_more"))
      FPage.HasMore = false;  // only the boolean true counts
    if (AtPageMember("items")) {
      FPage.ItemsState = TField::TState::Text;
    } else if (FDepth == 2 && FInItems) {
      FPage.Items.emplace_back();  // an item that is no object
    } else if (TField* field = ItemField()) {
      field->State = TField::TState::Text;
      writeText(field->Text);
    }
    return true;
  }

  bool Open(TField::TState kind) {
    if (FDepth >= kMaxAnswerDepth)
      return false;
    if (FDepth == 0) {
      FPage.RootIsObject = kind == TField::TState::Object;
    } else if (AtPageMember("has_more")) {
      FPage.HasMore = false;
    } else if (AtPageMember("items")) {
      FPage.ItemsState = kind;
      FPage.Items.clear();
      FInItems = kind == TField::TState::Array;
    } else if (FDepth == 2 && FInItems) {
      FPage.Items.emplace_back().IsObject = kind == TField::TState::Object;
    } else if (TField* field = ItemField()) {
      *field = {kind, {}};
    }
    ++FDepth;
    return true;
  }

  bool Close() {
    --FDepth;
    if (FDepth == 1)
      FInItems = false;
    return true;
  }

  TRawPage& FPage;
  size_t FDepth = 0;
  bool FInItems = false;  // within the "items" array that counts
  std::string FKey;
};

std::string TextOf(TField& field, const char* name) {
  switch (field.State) {
    case TField::TState::Missing:
      throw EJsonError("Value '" + std::string(name) + "' not found");
    case TField::TState::Object:
      throw EJsonError("Conversion from TJSONObject to string is not supported");
    case TField::TState::Array:
      throw EJsonError("Conversion from TJSONArray to string is not supported");
    case TField::TState::Text:
      break;
  }
  return std::move(field.Text);
}

TDirectoryPage JudgeShape(TRawPage& raw) {
  if (!raw.RootIsObject)
    throw EInvalidCast();
  if (raw.ItemsState == TField::TState::Missing)
    throw EJsonError("Value 'items' not found");
  if (raw.ItemsState != TField::TState::Array)
    throw EInvalidCast();
  TDirectoryPage page;
  page.HasMore = raw.HasMore;
  page.Items.reserve(raw.Items.size());
  try {
    for (TRawItem& item : raw.Items) {
      if (!item.IsObject)
        throw EInvalidCast();
      TDirectoryItem read;
      read.Id = TextOf(item.Id, "id");
      read.Title = TextOf(item.Title, "title");
      if (item.ParentId.State == TField::TState::Text)
        read.ParentId = std::move(item.ParentId.Text);
      page.Items.push_back(std::move(read));
    }
  } catch (const Platform::Error&) {
    page.ItemFault = std::current_exception();
  }
  return page;
}

}  // namespace

std::optional<TDirectoryPage> ReadDirectoryPage(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  TRawPage raw;
  TPageReader reader(raw);
  if (!TJsonValue::sax_parse(text, &reader))
    return std::nullopt;
  return JudgeShape(raw);
}

}  // namespace JoplinRestUtils
