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
                           "/?, /h",
                           "--help, --version",
                           "Exit codes:",
                           "  0  ",
                           "  1  ",
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
      {"/help"},                                            // not a usage request
      {"/IniFile=" + emptyToken},                           // key present, value empty
      {"/IniFile=" + withToken, "/INIFILE=" + emptyToken},  // the last one counts
      {"-IniFile=" + withToken},                            // only the "/" form is recognised
      {"/IniFile="},                                        // empty: the default path
  };
  for (const auto& args : runs) {
    const auto result = RunQuillpost(args, Options());
    EXPECT_EQ(result.ExitCode, 1) << ::testing::PrintToString(args);
    EXPECT_EQ(result.Stdout, "Please enter the token in the ini file.\n");
  }
}

TEST_F(EntryTest, MissingTokenNamesThePlacesLookedAt) {
  const auto defaults = RunQuillpost({}, Options());
  EXPECT_EQ(defaults.Stderr, "quillpost: no token in \"" + std::string(QUILLPOST_BINARY) +
                                 ".ini\" (no such file)\n"
                                 "quillpost: no token in \"" +
                                 Dir / "config/quillpost/quillpost.ini" + "\" (no such file)\n");
  const std::string noToken = Dir.Write("n.ini", "[Host]\nURL=http://x\n");
  EXPECT_EQ(RunQuillpost({"/IniFile=" + noToken}, Options()).Stderr,
            "quillpost: no token in \"" + noToken + "\" (section [Host], key Token)\n");
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
