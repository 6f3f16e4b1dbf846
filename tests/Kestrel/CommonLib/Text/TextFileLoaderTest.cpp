#include "Kestrel/CommonLib/Text/TextFileLoader.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.hpp"

namespace Kestrel::CommonLib {
namespace {

struct LoadCase {
  const char* Name;
  std::string Bytes;
  std::optional<TextEncoding> Encoding;
  bool Loads;
  std::string Text;
  friend void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.Name; }
};

const std::optional<TextEncoding> kNone;
const std::optional<TextEncoding> kUtf8 = TextEncoding::Utf8;
const std::optional<TextEncoding> kAnsi = TextEncoding::Ansi;

class TextFileLoaderTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(TextFileLoaderTest, Loads) {
  const LoadCase& c = GetParam();
  TestSupport::TempDir dir;
  const std::string path = dir.Write("file.txt", c.Bytes);
  std::string text = "untouched";
  EXPECT_EQ(LoadTextFile(path, text, c.Encoding), c.Loads);
  EXPECT_EQ(text, c.Loads ? c.Text : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFileLoaderTest,
    ::testing::Values(
        LoadCase{"EmptyUtf8", "", kUtf8, true, ""}, LoadCase{"EmptyAnsi", "", kAnsi, true, ""},
        LoadCase{"EmptyNoEncoding", "", kNone, false, ""},
        LoadCase{"ShortNoEncoding", "abc", kNone, false, ""},
        LoadCase{"BomKeptWithUtf8", "\xEF\xBB\xBFHi!", kUtf8, true, "\xEF\xBB\xBFHi!"},
        LoadCase{"BomSkippedWithoutEncoding", "\xEF\xBB\xBFHi!", kNone, true, "Hi!"},
        LoadCase{"Utf16Le", std::string("\xFF\xFE\x41\x00\x42\x00", 6), kNone, true, "AB"},
        LoadCase{"Utf16LeOddByteAndSurrogates",
                 std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xD8\x41\x00\x42", 11), kNone, true,
                 "\U0001F600\uFFFDA"},
        LoadCase{"Utf16LeWithUtf8Given", std::string("\xFF\xFE\x41\x00", 4), kUtf8, false, ""},
        LoadCase{"Utf16BeIsNotRecognised", std::string("\xFE\xFF\x00\x41", 4), kNone, false, ""},
        LoadCase{"PlainAscii", "plain", kNone, true, "plain"},
        LoadCase{"StrayE9Utf8", "caf\xE9!", kUtf8, false, ""},
        LoadCase{"StrayE9Ansi", "caf\xE9!", kAnsi, true, "caf\u00e9!"},
        LoadCase{"AnsiUndefinedBytes", "\x80\x81\x9F\x8D", kAnsi, true, "\u20AC\u0081\u0178\u008D"},
        LoadCase{"Overlong", "a\xC0\xAF", kUtf8, false, ""},
        LoadCase{"EncodedSurrogate", "a\xED\xA0\x80", kUtf8, false, ""},
        LoadCase{"AboveMax", "a\xF4\x90\x80\x80", kUtf8, false, ""},
        LoadCase{"Truncated", "ab\xE2\x82", kUtf8, false, ""},
        LoadCase{"Utf7", "+/v8-Hi +AOk-", kNone, true, "Hi \u00e9"},
        // The mark's fourth byte may carry bits of the next character.
        LoadCase{"Utf7MarkSharingBits", "+/v8A6Q-", kNone, true, "\u00e9"},
        LoadCase{"LineBreaksUntouched", "a\r\nb\nc\rd", kUtf8, true, "a\r\nb\nc\rd"}),
    [](const auto& p) { return std::string(p.param.Name); });

// A byte-order mark names the encoding whatever encoding the caller names.
struct MarkCase {
  const char* Name;
  std::string Bytes;
  TextEncoding Encoding;
  std::string Text;  // empty with Reason set: fails
  std::string Reason;
  friend void PrintTo(const MarkCase& c, std::ostream* out) { *out << c.Name; }
};

class HonouringMarkTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(HonouringMarkTest, Loads) {
  const MarkCase& c = GetParam();
  TestSupport::TempDir dir;
  std::string text = "untouched";
  TTextLoadFailure failure;
  const bool loaded =
      LoadTextFileHonouringMark(dir.Write("f.md", c.Bytes), c.Encoding, text, failure);
  EXPECT_EQ(loaded, c.Reason.empty());
  EXPECT_EQ(text, c.Reason.empty() ? c.Text : "untouched");
  EXPECT_EQ(failure.Reason, c.Reason);
  EXPECT_EQ(failure.Undecodable, !c.Reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HonouringMarkTest,
    ::testing::Values(
        MarkCase{"Utf8MarkDropped", "\xEF\xBB\xBF# Head", TextEncoding::Utf8, "# Head", ""},
        MarkCase{"Utf8MarkWinsOverAnsi", "\xEF\xBB\xBF\xC3\xA9", TextEncoding::Ansi, "\u00e9", ""},
        MarkCase{"Utf8MarkAlone", "\xEF\xBB\xBF", TextEncoding::Utf8, "", ""},
        MarkCase{"Utf16LeMarkWinsOverUtf8", std::string("\xFF\xFE\xE9\x00!\x00", 6),
                 TextEncoding::Utf8, "\u00e9!", ""},
        MarkCase{"Utf16LeMarkWinsOverAnsi", std::string("\xFF\xFEH\x00", 4), TextEncoding::Ansi,
                 "H", ""},
        MarkCase{"NoMarkUsesTheNamedEncoding", "caf\xE9", TextEncoding::Ansi, "caf\u00e9", ""},
        MarkCase{"MarkOnlyAtTheStart", "a\xEF\xBB\xBF", TextEncoding::Utf8, "a\uFEFF", ""},
        MarkCase{"InvalidUtf8", "caf\xE9", TextEncoding::Utf8, "", "is not valid UTF-8"},
        MarkCase{"InvalidUtf8AfterMark", "\xEF\xBB\xBF\xE9", TextEncoding::Ansi, "",
                 "is not valid UTF-8"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(TextFileLoaderPathsTest, HonouringMarkSaysWhyAFileCannotBeRead) {
  TestSupport::TempDir dir;
  std::string text;
  TTextLoadFailure failure;
  EXPECT_FALSE(LoadTextFileHonouringMark(dir / "missing.md", TextEncoding::Utf8, text, failure));
  EXPECT_EQ(failure.Reason, "No such file or directory");
  EXPECT_FALSE(LoadTextFileHonouringMark(dir.Path(), TextEncoding::Utf8, text, failure));
  EXPECT_EQ(failure.Reason, "is a directory");
  EXPECT_FALSE(failure.Undecodable);
}

TEST(TextFileLoaderPathsTest, MissingPathsAndDirectoriesFail) {
  TestSupport::TempDir dir;
  std::string text = "untouched";
  EXPECT_FALSE(LoadTextFile(dir / "missing.md", text, TextEncoding::Utf8));
  EXPECT_FALSE(LoadTextFile(dir.Path(), text, TextEncoding::Utf8));
  EXPECT_FALSE(LoadTextFile("", text, TextEncoding::Utf8));
  EXPECT_EQ(text, "untouched");
}

TEST(TextFileLoaderPathsTest, FilesOfTwoGibibytesAreRefused) {
  TestSupport::TempDir dir;
  const std::string path = dir.Write("huge.md", "");
  // Sparse: the size is all that is read before the file is refused.
  std::filesystem::resize_file(path, std::uintmax_t{1} << 31);
  std::string text = "untouched";
  EXPECT_FALSE(LoadTextFile(path, text, TextEncoding::Utf8));
  EXPECT_EQ(text, "untouched");
}

}  // namespace
}  // namespace Kestrel::CommonLib
