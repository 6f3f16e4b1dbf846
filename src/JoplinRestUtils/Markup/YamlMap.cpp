#include "JoplinRestUtils/Markup/YamlMap.hpp"

#include <yaml.h>

#include <memory>

namespace JoplinRestUtils {
namespace {

// A parser is let go of by libyaml only once initialized.
struct TParserRelease {
  bool Initialized = false;
  void operator()(yaml_parser_t* parser) const {
    if (Initialized)
      yaml_parser_delete(parser);
    std::default_delete<yaml_parser_t>()(parser);
  }
};

struct TEventRelease {
  void operator()(yaml_event_t* event) const {
    yaml_event_delete(event);
    std::default_delete<yaml_event_t>()(event);
  }
};

// libyaml's parser over a text that must outlive it; move-only.
class TYamlParser {
 public:
  explicit TYamlParser(std::string_view text)
      : FParser(std::make_unique<yaml_parser_t>().release()) {
    if (yaml_parser_initialize(FParser.get()) == 0)
      throw EYamlError(1, "no memory to read YAML");
    FParser.get_deleter().Initialized = true;
    yaml_parser_set_input_string(FParser.get(), reinterpret_cast<const unsigned char*>(text.data()),
                                 text.size());
  }

  yaml_parser_t& Get() { return *FParser; }

 private:
  std::unique_ptr<yaml_parser_t, TParserRelease> FParser;
};

// The parser's current event, let go of when the next replaces it; move-only.
class TYamlEvent {
 public:
  explicit TYamlEvent(TYamlParser& parser) : FParser(&parser) { Next(); }

  void Next() {
    FEvent.reset();
    auto event = std::make_unique<yaml_event_t>();
    yaml_parser_t& parser = FParser->Get();
    if (yaml_parser_parse(&parser, event.get()) == 0) {
      const std::string problem = parser.problem != nullptr ? parser.problem : "unreadable YAML";
      const std::string context =
          parser.context != nullptr ? std::string(" ") + parser.context : std::string();
      throw EYamlError(static_cast<int>(parser.problem_mark.line) + 1, problem + context);
    }
    FEvent.reset(event.release());
  }
  yaml_event_type_t Type() const { return FEvent->type; }
  int Line() const { return static_cast<int>(FEvent->start_mark.line) + 1; }
  std::string Scalar() const {
    return std::string(reinterpret_cast<const char*>(FEvent->data.scalar.value),
                       FEvent->data.scalar.length);
  }

 private:
  TYamlParser* FParser;
  std::unique_ptr<yaml_event_t, TEventRelease> FEvent;
};

bool StartsCollection(yaml_event_type_t type) {
  return type == YAML_SEQUENCE_START_EVENT || type == YAML_MAPPING_START_EVENT;
}

bool EndsCollection(yaml_event_type_t type) {
  return type == YAML_SEQUENCE_END_EVENT || type == YAML_MAPPING_END_EVENT;
}

// Past the node that the current event starts, onto its last event.
void SkipNode(TYamlEvent& event) {
  int depth = StartsCollection(event.Type()) ? 1 : 0;
  while (depth > 0) {
    event.Next();
    if (StartsCollection(event.Type()))
      ++depth;
    else if (EndsCollection(event.Type()))
      --depth;
  }
}

// The scalar members of the mapping that the current event starts.
std::vector<std::pair<std::string, std::string>> ReadScalarMembers(TYamlEvent& event) {
  std::vector<std::pair<std::string, std::string>> members;
  for (event.Next(); event.Type() != YAML_MAPPING_END_EVENT; event.Next()) {
    const bool scalarKey = event.Type() == YAML_SCALAR_EVENT;
    std::string key = scalarKey ? event.Scalar() : std::string();
    SkipNode(event);
    event.Next();
    if (scalarKey && event.Type() == YAML_SCALAR_EVENT)
      members.emplace_back(std::move(key), event.Scalar());
    SkipNode(event);
  }
  return members;
}

// A list's scalars; of a map in it, its "name" (an author written as a map).
std::vector<std::string> ReadListItems(TYamlEvent& event) {
  std::vector<std::string> items;
  for (event.Next(); event.Type() != YAML_SEQUENCE_END_EVENT; event.Next()) {
    if (event.Type() == YAML_SCALAR_EVENT) {
      items.push_back(event.Scalar());
    } else if (event.Type() == YAML_MAPPING_START_EVENT) {
      for (auto& [key, value] : ReadScalarMembers(event)) {
        if (key == "name")
          items.push_back(std::move(value));
      }
    } else {
      SkipNode(event);
    }
  }
  return items;
}

TYamlValue ReadValue(TYamlEvent& event) {
  TYamlValue value;
  value.Line = event.Line();
  switch (event.Type()) {
    case YAML_SCALAR_EVENT:
      value.Text = event.Scalar();
      break;
    case YAML_SEQUENCE_START_EVENT:
      value.Kind = TYamlValue::TKind::List;
      value.Items = ReadListItems(event);
      break;
    case YAML_MAPPING_START_EVENT:
      value.Kind = TYamlValue::TKind::Map;
      value.Members = ReadScalarMembers(event);
      break;
    default:
      value.Kind = TYamlValue::TKind::Alias;
      break;
  }
  return value;
}

}  // namespace

std::vector<TYamlMember> ReadYamlMap(std::string_view text) {
  TYamlParser parser(text);
  TYamlEvent event(parser);  // the stream's start
  event.Next();
  if (event.Type() == YAML_STREAM_END_EVENT)
    return {};
  event.Next();  // past the document's start
  std::vector<TYamlMember> members;
  if (event.Type() == YAML_SCALAR_EVENT && event.Scalar().empty()) {
    event.Next();  // a document of nothing but comments
  } else if (event.Type() != YAML_MAPPING_START_EVENT) {
    throw EYamlError(event.Line(), "the block is no mapping of keys to values");
  } else {
    for (event.Next(); event.Type() != YAML_MAPPING_END_EVENT; event.Next()) {
      const bool scalarKey = event.Type() == YAML_SCALAR_EVENT;
      std::string key = scalarKey ? event.Scalar() : std::string();
      SkipNode(event);
      event.Next();
      TYamlValue value = ReadValue(event);
      if (scalarKey)
        members.push_back({std::move(key), std::move(value)});
    }
    event.Next();
  }
  // The rest of the text is read too, so that an error after the mapping is
  // not passed over.
  while (event.Type() != YAML_STREAM_END_EVENT)
    event.Next();
  return members;
}

}  // namespace JoplinRestUtils
