// Runs the built program as a user would for the steps before any request.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

using TestSupport::ProgramOptions;
using TestSupport::RunQuillpost;

const std::string kUsage =
    "Quillpost\nVer.1.0.0.0\n\n/N [Notebook]\n/I [Title]\n/S [Body file path]\n"
    "/SN (Empty body text)\n/A [Attachment]\n/AA [Attachment] [Attachment] ...\n/T [Tag]\n"
    "/TT [Tag] [Tag] ...\n/C [Created]\n/E [Updated]\n\nhttps://quillpost.org\n";

class EntryTest : public ::testing::Test {
 protected:
  // No settings file anywhere unless a test writes one.
  ProgramOptions Options() const {
    ProgramOptions options;
    options.Env["XDG_CONFIG_HOME"] = Dir / "config";
    options.Env["HOME"] = Dir.Path();
    options.CloseStdin = true;
    return options;
  }
  TestSupport::TempDir Dir;
};

TEST_F(EntryTest, UsageRequestsPrintOnlyTheUsage) {
  for (const char* request : {"/?", "/h", "-h", "/H"}) {
    const auto result = RunQuillpost({"/N", "x", request, "/IniFile=/nonexistent"}, Options());
    EXPECT_EQ(result.ExitCode, 0) << request;
    EXPECT_EQ(result.Stdout, kUsage) << request;
    EXPECT_EQ(result.Stderr, "") << request;
  }
}

TEST_F(EntryTest, HelpDescribesEverySwitchTheExitCodesAndTheSettings) {
  const auto result = RunQuillpost({"--help", "/IniFile=/nonexistent"}, Options());
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Stderr, "");
  EXPECT_TRUE(result.Stdout.starts_with("Quillpost\nVer.1.0.0.0\n")) << result.Stdout;
  for (const char* text : {"/N [Notebook]",
                           "/NC ",
                           "/I [Title]",
                           "/S [Body file path]",
                           "/SN ",
                           "/A [Attachment]",
                           "/AA [Attachment]",
                           "/T [Tag]",
                           "/TT [Tag]",
                           "/C [Created]",
                           "/E [Updated]",
                           "/MD ",
                           "/HTML ",
                           "/DefEnc ",
                           "/LT ",
                           "/Utf8 ",
                           "/IniFile=PATH",
                           "/Profile=DIR",
                           "--check",
                           "QUILLPOST_TOKEN",
                           "/?, /h",
                           "--help, --version",
                           "Exit codes:",
                           "  0  ",
                           "  1  no token found (settings file, environment or Joplin profile)",
                           "  3  ",
                           "standard error",
                           "~/.config/quillpost/quillpost.ini",
                           "https://quillpost.org"}) {
    EXPECT_NE(result.Stdout.find(text), std::string::npos) << text;
  }
}

TEST_F(EntryTest, VersionPrintsNameAndVersion) {
  const auto result = RunQuillpost({"--version"}, Options());
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Stdout, "Quillpost\nVer.1.0.0.0\n");
}

TEST_F(EntryTest, MissingTokenStopsWithExitCodeOne) {
  const std::string emptyToken = Dir.Write("empty.ini", "[Host]\nURL=http://x\nToken=\n");
  const std::string withToken = Dir.Write("good.ini", "[Host]\nToken=t\nURL=\n");
  const std::vector<std::vector<std::string>> runs = {
      {},                                                   // no settings file at all
      {"/IniFile=" + emptyToken},                           // key present, value empty
      {"/IniFile=" + withToken, "/INIFILE=" + emptyToken},  // the last one counts
      {"/IniFile="},                                        // empty: the default path
  };
  for (const auto& args : runs) {
    const auto result = RunQuillpost(args, Options());
    EXPECT_EQ(result.ExitCode, 1) << ::testing::PrintToString(args);
    EXPECT_EQ(result.Stdout, "Please enter the token in the ini file.\n");
  }
}

TEST_F(EntryTest, MissingTokenNamesThePlacesLookedAt) {
  const std::string hint =
      "quillpost: the Joplin desktop application shows its token under Tools > Options > Web "
      "Clipper (on macOS: Joplin > Preferences > Web Clipper)\n";
  const std::string environment =
      "quillpost: looked at the environment (QUILLPOST_URL, QUILLPOST_TOKEN): no URL or token\n";
  const std::string desktop = "quillpost: looked at the Joplin profile \"" +
                              Dir / ".config/joplin-desktop/settings.json" +
                              "\": no URL or token\n";
  const std::string terminal = "quillpost: looked at the Joplin profile \"" +
                               Dir / ".config/joplin/settings.json" + "\": no URL or token\n";
  const auto defaults = RunQuillpost({}, Options());
  EXPECT_EQ(defaults.Stderr, environment + "quillpost: looked at the settings file \"" +
                                 Dir / "config/quillpost/quillpost.ini" +
                                 "\": No such file or directory\n" + desktop + terminal + hint);
  const std::string noToken = Dir.Write("n.ini", "[Host]\nURL=http://x\n");
  Dir.Write(".config/joplin/settings.json", "{broken");
  EXPECT_EQ(RunQuillpost({"/IniFile=" + noToken}, Options()).Stderr,
            "quillpost: warning: skipping the Joplin profile settings \"" +
                Dir / ".config/joplin/settings.json" +
                "\": it is not a JSON object\n"
                "quillpost: looked at the settings file \"" +
                noToken + "\": a URL\n" + environment + desktop + terminal + hint);
}

// A settings file with the token that its group or others may read or
// write is warned about; one only its owner may touch is not.
TEST_F(EntryTest, SettingsFileOthersMayReadOrWriteIsWarnedAbout) {
  const std::string ini = Dir.Write("open.ini", "[Host]\nURL=http://127.0.0.1:1\nToken=t\n");
  const std::string warning = "quillpost: warning: the settings file \"" + ini +
                              "\" holds the token and other users may read or change it "
                              "(chmod 600 it)\n";
  for (const auto mode : {0644, 0640, 0660, 0666, 0602, 0600, 0400}) {
    std::filesystem::permissions(ini, static_cast<std::filesystem::perms>(mode));
    const auto result = RunQuillpost({"/IniFile=" + ini, "/SN"}, Options());
    EXPECT_EQ(result.Stdout, "Create Note failed.\n");
    EXPECT_EQ(result.Stderr.starts_with(warning), (mode & 066) != 0)
        << std::oct << mode << ": " << result.Stderr;
  }
}

TEST_F(EntryTest, SettingsFileBesideTheExecutableComesFirst) {
  const std::string exe = Dir / "qp";
  std::filesystem::copy_file(QUILLPOST_BINARY, exe);
  Dir.Write("qp.ini", "[Host]\nToken=\n");
  Dir.Write("config/quillpost/quillpost.ini", "[Host]\nToken=t\nURL=http://127.0.0.1:1\n");
  // Beside the executable: empty token.
  EXPECT_EQ(TestSupport::RunProgram(exe, {}, Options()).ExitCode, 1);
  // Without it, the user's config directory is read and the token is there.
  std::filesystem::remove(Dir / "qp.ini");
  const auto result = TestSupport::RunProgram(exe, {"/SN"}, Options());
  EXPECT_NE(result.Stdout, "Please enter the token in the ini file.\n");
}

}  // namespace
