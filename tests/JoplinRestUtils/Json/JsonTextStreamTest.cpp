#include "JoplinRestUtils/Json/JsonTextStream.hpp"

#include <gtest/gtest.h>

namespace JoplinRestUtils {
namespace {

constexpr TJsonEscaping kAll{true, true};
constexpr TJsonEscaping kNone{false, false};

struct EscapeCase {
  const char* Name;
  std::string Text;
  TJsonEscaping Escaping;
  std::string Escaped;  // the contents between the quotes
  friend void PrintTo(const EscapeCase& c, std::ostream* out) { *out << c.Name; }
};

const std::vector<EscapeCase> kEscapeCases = {
    {"PlainAscii", "plain text 123", kAll, "plain text 123"},
    {"AlwaysEscaped", "a\"b\\c/d", kNone, R"(a\"b\\c\/d)"},
    {"ShortEscapes", "\b\t\n\f\r", kNone, R"(\b\t\n\f\r)"},
    {"OtherControls", "\x01\x1F\x7F", kAll, "\\u0001\\u001F\x7F"},
    {"OtherControlsKept", "\x01\x1F\x7F", kNone, "\x01\x1F\x7F"},
    {"NonAsciiEscaped", "caf\xC3\xA9 \xE2\x82\xAC", kAll, R"(caf\u00E9 \u20AC)"},
    {"NonAsciiKept", "caf\xC3\xA9 \xE2\x82\xAC", kNone, "caf\xC3\xA9 \xE2\x82\xAC"},
    {"AstralAsSurrogates", "\xF0\x9F\x98\x80", kAll, R"(\uD83D\uDE00)"},
    {"AstralKept", "\xF0\x9F\x98\x80", kNone, "\xF0\x9F\x98\x80"},
    {"IllFormedByteReplaced",
     "a\xFF"
     "b\xC3",
     kNone,
     "a\xEF\xBF\xBD"
     "b\xEF\xBF\xBD"},
    {"IllFormedByteEscaped", "a\xFF", kAll, R"(a\uFFFD)"},
    {"ReplacementCharacterKept", "\xEF\xBF\xBD", kNone, "\xEF\xBF\xBD"},
    {"LineBreaksOfABody", "line one\r\nline two\r\n", kAll, R"(line one\r\nline two\r\n)"},
};

class JsonEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscapeTest, EscapesAndCountsAlike) {
  const EscapeCase& c = GetParam();
  std::string escaped;
  AppendJsonEscaped(escaped, c.Text, c.Escaping);
  EXPECT_EQ(escaped, c.Escaped);
  EXPECT_EQ(JsonEscapedLength(c.Text, c.Escaping), c.Escaped.size());
}

// A body long enough to be escaped while it is read gives, whatever the size
// of the reader's buffer, the very bytes of the whole compact text.
TEST_P(JsonEscapeTest, StreamGivesTheCompactTextInPiecesOfAnySize) {
  const EscapeCase& c = GetParam();
  TJsonValue note = TJsonValue::object();
  note["title"] = "T/" + c.Text;
  std::string body;
  while (body.size() < 70000)
    body += c.Text + "|";
  note["body"] = body;
  note["n"] = 1;
  const std::string whole = WriteJsonCompact(note, c.Escaping);
  TJsonTextStream stream(note, c.Escaping);
  EXPECT_EQ(stream.Size(), whole.size());
  for (const size_t bufferSize : {1, 5, 11, 12, 13, 65536}) {
    stream.Restart();
    std::string read;
    std::vector<char> buffer(bufferSize);
    while (const size_t got = stream.Read(buffer.data(), buffer.size()))
      read.append(buffer.data(), got);
    EXPECT_EQ(read, whole) << "buffer of " << bufferSize;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonEscapeTest, ::testing::ValuesIn(kEscapeCases),
                         [](const ::testing::TestParamInfo<EscapeCase>& row) {
                           return std::string(row.param.Name);
                         });

}  // namespace
}  // namespace JoplinRestUtils
