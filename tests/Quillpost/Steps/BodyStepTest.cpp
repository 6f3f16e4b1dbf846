#include "Quillpost/Steps/BodyStep.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include "Kestrel/CommonLib/Text/StringList.hpp"
#include "Platform/Files/FileDescriptor.hpp"
#include "Platform/Text/Charset.hpp"
#include "Quillpost/Steps/BodyFileError.hpp"
#include "Quillpost/Steps/StdinLines.hpp"
#include "support/TempDir.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TJoplinNewNote;

// Standard input made of the given bytes.
class FakeStdin {
 public:
  explicit FakeStdin(const std::string& bytes)
      : FFile(::open(FDir.Write("stdin", bytes).c_str(), O_RDONLY)), FReader(FFile.Get()) {}
  Platform::ByteReader& Reader() { return FReader; }

 private:
  TestSupport::TempDir FDir;
  Platform::FileDescriptor FFile;
  Platform::ByteReader FReader;
};

// The lines of the joined text that standard input gives (no line holds a
// CR or LF, so splitting it again recovers them).
std::vector<std::string> StdinLines(const std::string& bytes) {
  FakeStdin input(bytes);
  Kestrel::CommonLib::TStringList lines;
  lines.SetText(ReadStdinText(false, input.Reader()));
  return lines.Lines();
}

TEST(StdinLinesTest, LineEndsAndCtrlZ) {
  using V = std::vector<std::string>;
  EXPECT_EQ(StdinLines(""), V{});
  EXPECT_EQ(StdinLines("a\r\n"), V{"a"});
  EXPECT_EQ(StdinLines("a\nb"), (V{"a", "b"}));
  EXPECT_EQ(StdinLines("a\rb\r\n\r"), (V{"ab", ""}));
  EXPECT_EQ(StdinLines("abc\x1A more\ntext"), V{"abc"});
  EXPECT_EQ(StdinLines("a\n\x1A"), V{"a"});
  EXPECT_EQ(StdinLines("\n\n"), (V{"", ""}));
  EXPECT_EQ(StdinLines("caf\xE9\n"), V{"caf\uFFFD"});  // C.UTF-8: undecodable byte
  EXPECT_EQ(StdinLines(std::string(200000, 'x')), V{std::string(200000, 'x')});
}

// The rules of the header, byte by byte: what the readers must give.
std::vector<std::string> LinesByTheRules(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    open = true;
    if (bytes[i] == '\n') {
      lines.push_back(Platform::DecodeFromLocale(line));
      line.clear();
      open = false;
    } else if (bytes[i] != '\r') {
      line += bytes[i];
    }
  }
  if (open)
    lines.push_back(Platform::DecodeFromLocale(line));
  return lines;
}

// Inputs larger than one read, with line ends, CRs, Ctrl+Z and undecodable
// bytes around the edges of the pieces that standard input is read in.
TEST(StdinLinesTest, JoinedTextAcrossReads) {
  std::mt19937 random(17);
  const std::string alphabet[] = {"a", "\r", "\n", "\r\n", "\xC3\xA9", "\xC3", "\xFF", "\x1A"};
  for (int round = 0; round < 60; ++round) {
    std::string bytes(std::uniform_int_distribution<size_t>(65520, 65550)(random), 'x');
    const auto extra = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < extra; ++i)
      bytes.insert(std::uniform_int_distribution<size_t>(65500, bytes.size())(random),
                   alphabet[random() % (round % 3 == 0 ? 8 : 7)]);
    const std::vector<std::string> expected = LinesByTheRules(bytes);
    Kestrel::CommonLib::TStringList lines;
    for (const auto& line : expected)
      lines.Add(line);
    FakeStdin input(bytes);
    ASSERT_EQ(ReadStdinText(false, input.Reader()), lines.Text()) << "round " << round;
  }
}

class BodyStepTest : public ::testing::Test {
 protected:
  TJoplinNewNote Apply(std::vector<std::string> params, const std::string& stdinBytes = "") {
    FakeStdin input(stdinBytes);
    TJoplinNewNote note;
    ApplyBody(params, note, input.Reader());
    return note;
  }
  TestSupport::TempDir Dir;
};

TEST_F(BodyStepTest, BodyFileLineBreaks) {
  const struct {
    std::string Content;
    std::string Body;
  } cases[] = {{"a", "a\r\n"},
               {"a\nb\n", "a\r\nb\r\n"},
               {"a\rb", "a\r\nb\r\n"},
               {"a\r\n\r\n", "a\r\n\r\n"},
               {"", ""},
               {"\xEF\xBB\xBFx", "x\r\n"},
               {std::string("\xFF\xFE\x41\x00\n\x00", 6), "A\r\n"}};
  for (const auto& c : cases) {
    const TJoplinNewNote note = Apply({"/S", Dir.Write("b.md", c.Content)}, "never read");
    EXPECT_EQ(note.Body, c.Body) << ::testing::PrintToString(c.Content);
    EXPECT_EQ(note.BaseDir, Dir.Path());
  }
}

TEST_F(BodyStepTest, StandardInputOnlyWithoutABodyFile) {
  const std::string latin1 = Dir.Write("latin1.md", "caf\xE9\n");
  EXPECT_EQ(Apply({"/S", latin1, "/DefEnc"}).Body, "caf\u00e9\r\n");
  EXPECT_EQ(Apply({"/S"}, "a\rb").Body, "ab\r\n");
  EXPECT_EQ(Apply({"/SN"}, "ignored").Body, "");
  EXPECT_EQ(Apply({}, "abc\x1A rest").Body, "abc\r\n");
}

// A named body file that cannot be loaded ends the run; standard input stays unread.
TEST_F(BodyStepTest, BodyFileThatCannotBeLoadedIsAnError) {
  const std::string latin1 = Dir.Write("latin1.md", "caf\xE9\n");
  const std::string locked = Dir.Write("locked.md", "secret");
  ::chmod(locked.c_str(), 0);
  const bool rootReadsAnything = ::access(locked.c_str(), R_OK) == 0;
  const struct {
    std::vector<std::string> Params;
    std::string Message;
  } cases[] = {
      {{"/S", latin1},
       "Cannot load the body file \"" + latin1 +
           "\": is not valid UTF-8 (add /DefEnc to read it as Windows-1252)"},
      {{"/S", latin1, "/SN"},
       "Cannot load the body file \"" + latin1 +
           "\": is not valid UTF-8 (add /DefEnc to read it as Windows-1252)"},
      {{"/S", Dir / "missing.md"},
       "Cannot load the body file \"" + Dir / "missing.md" + "\": No such file or directory"},
      {{"/S", Dir.Path()}, "Cannot load the body file \"" + Dir.Path() + "\": is a directory"},
      {{"/S", "/dev/null/x"}, "Cannot load the body file \"/dev/null/x\": Not a directory"},
      {{"/S", locked},
       rootReadsAnything ? "" : "Cannot load the body file \"" + locked + "\": Permission denied"},
  };
  for (const auto& c : cases) {
    if (c.Message.empty())
      continue;  // as root every file can be read
    FakeStdin input("must stay unread");
    TJoplinNewNote note;
    try {
      ApplyBody(c.Params, note, input.Reader());
      ADD_FAILURE() << "no error for " << c.Message;
    } catch (const EBodyFileError& error) {
      EXPECT_EQ(std::string(error.what()), c.Message);
    }
    EXPECT_EQ(input.Reader().Peek(), 'm');
  }
}

TEST_F(BodyStepTest, FirstLineAsTitle) {
  EXPECT_EQ(Apply({"/LT"}, "  Word  \nsecond\n").Title, "Word");
  EXPECT_EQ(Apply({"/LT"}, "  Word  \nsecond\n").Body, "second\r\n");
  const TJoplinNewNote blank = Apply({"/LT"}, " \nsecond\n");
  EXPECT_EQ(blank.Title, "NoName");
  EXPECT_EQ(blank.Body, " \r\nsecond\r\n");
  EXPECT_EQ(Apply({"/LT"}, "").Title, "NoName");
  const TJoplinNewNote bom = Apply({"/LT", "/S", Dir.Write("bom.md", "\xEF\xBB\xBFTitle\nx")});
  EXPECT_EQ(bom.Title, "Title");
  EXPECT_EQ(bom.Body, "x\r\n");
}

TEST_F(BodyStepTest, HtmlTitles) {
  const struct {
    std::string Html;
    std::string Title;
  } cases[] = {
      {"<TITLE>  Report &amp; more </Title>", "Report &amp; more"},
      {"<title></title><title>Second</title>", "NoName"},
      {"<title>   </title>", "NoName"},
      {"<title><b>Bold</b></title>", "NoName"},
      {"<title><b>x</b></title><title>Later</title>", "Later"},
      {"<title>Two\nlines </title>", "Two\nlines"},
  };
  for (const auto& c : cases) {
    const TJoplinNewNote note = Apply({"/S", Dir.Write("page.HTML", c.Html), "/MD"});
    EXPECT_EQ(note.Title, c.Title) << c.Html;
    EXPECT_EQ(note.MarkupLanguage, JoplinRestUtils::kMarkupHtml);
  }
  const std::string page = Dir.Write("page.htm", "<title>From page</title>");
  EXPECT_EQ(Apply({"/S", page, "/I"}).Title, "NoName");
  EXPECT_EQ(Apply({"/S", page, "/I", "Given"}).Title, "NoName");  // "/I" itself is step 6
  EXPECT_EQ(Apply({"/S", page, "/LT"}).Title, "<title>From page</title>");
  EXPECT_EQ(Apply({"/S", Dir.Write("page.md", "<title>x</title>")}).Title, "NoName");
}

TEST_F(BodyStepTest, HtmlImages) {
  const std::string a = Dir.Write("img/a.png", "png");
  const std::string b = Dir.Write("b.JPG", "jpg");
  Dir.Write("notes.txt", "txt");
  Dir.MakeDir("dir.png");
  const std::string html =
      Dir.Write("page.html",
                "<img src=\"img/a.png\"><img SRC = \"b.JPG\"><img src=\"http://x/b.JPG\">"
                "<img src=\"img/a.png\"><img src=\"missing.png\"><img src=\"notes.txt\">"
                "<img src=\"dir.png\"><img src=\"img/a.png?v=2\"><img src=\"" +
                    b + "\">");
  EXPECT_EQ(Apply({"/S", html}).Files.Lines(), (std::vector<std::string>{a, b, a, b}));
  EXPECT_EQ(Apply({"/S", html}).BodyImages.Lines(), (std::vector<std::string>{a, b, a, b}));
  // Attachments do not keep the page's own images from being collected.
  EXPECT_EQ(Apply({"/S", html, "/A", Dir / "notes.txt"}).BodyImages.Count(), 4u);
}

}  // namespace
}  // namespace Quillpost
