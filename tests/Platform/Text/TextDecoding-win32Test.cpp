// The system's converters under the program's decoding rules.
#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"
#include "Platform/Text/TextDecoding.hpp"
#include "support/TempDir.hpp"

namespace Platform {
namespace {

struct DecodeCase {
  const char* Name;
  TextEncoding Encoding;
  std::string Bytes;
  bool Decodes;
  std::string Text;
  friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.Name; }
};

class TextDecodingWin32Test : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextDecodingWin32Test, Decodes) {
  const DecodeCase& c = GetParam();
  std::string text = "untouched";
  EXPECT_EQ(DecodeBytes(std::string_view(c.Bytes), c.Encoding, text), c.Decodes);
  EXPECT_EQ(text, c.Decodes ? c.Text : "untouched");
  std::string moved = "untouched";
  EXPECT_EQ(DecodeBytes(std::string(c.Bytes), c.Encoding, moved), c.Decodes);
  EXPECT_EQ(moved, text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextDecodingWin32Test,
    ::testing::Values(
        DecodeCase{"Utf8Plain", TextEncoding::Utf8, "Caf\xC3\xA9 \xF0\x9F\x98\x80", true,
                   "Caf\xC3\xA9 \xF0\x9F\x98\x80"},
        DecodeCase{"Utf8Empty", TextEncoding::Utf8, "", true, ""},
        DecodeCase{"Utf8MarkIsACharacter", TextEncoding::Utf8, "\xEF\xBB\xBFx", true,
                   "\xEF\xBB\xBFx"},
        DecodeCase{"Utf8StrayContinuation", TextEncoding::Utf8, "a\x80", false, ""},
        DecodeCase{"Utf8Latin1Byte", TextEncoding::Utf8, "Caf\xE9", false, ""},
        DecodeCase{"Utf8Truncated", TextEncoding::Utf8, "\xE2\x82", false, ""},
        DecodeCase{"Utf8Overlong", TextEncoding::Utf8, "\xC0\xAF", false, ""},
        DecodeCase{"Utf8Surrogate", TextEncoding::Utf8, "\xED\xA0\x80", false, ""},
        DecodeCase{"Utf8AboveUnicode", TextEncoding::Utf8, "\xF4\x90\x80\x80", false, ""},
        // Wine's ANSI code page for an English or C locale is Windows-1252.
        DecodeCase{"AnsiWindows1252", TextEncoding::Ansi, "Caf\xE9 \x80 \x93q\x94", true,
                   "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},
        DecodeCase{"Utf16LeOddByteDropped", TextEncoding::Utf16Le, std::string("A\0\xE9\0Z", 5),
                   true, "A\xC3\xA9"},
        DecodeCase{"Utf7Smiley", TextEncoding::Utf7, "Hi Mom -+Jjo--!", true,
                   "Hi Mom -\xE2\x98\xBA-!"},
        DecodeCase{"Utf7Math", TextEncoding::Utf7, "A+ImIDkQ.", true, "A\xE2\x89\xA2\xCE\x91."},
        DecodeCase{"Utf7PlusSign", TextEncoding::Utf7, "1 +- 1", true, "1 + 1"}),
    [](const ::testing::TestParamInfo<DecodeCase>& row) { return std::string(row.param.Name); });

TEST(TextFileLoaderWin32Test, Utf7FileByItsSignature) {
  TestSupport::TempDir dir;
  const std::string path = dir.Write("utf7.txt", "+/v8-Caf+AOk- +IKw-");
  std::string text;
  ASSERT_TRUE(Kestrel::CommonLib::LoadTextFile(path, text, std::nullopt));
  EXPECT_EQ(text, "Caf\xC3\xA9 \xE2\x82\xAC");
}

}  // namespace
}  // namespace Platform
