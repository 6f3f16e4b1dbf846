// Quillpost as an installed Linux program: the manual page knows every
// switch, the listing commands feed the shell completions, the completions
// load and answer, and the Debian package installs and goes cleanly.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "Platform/Files/Files.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Quillpost/Switches.hpp"
#include "Quillpost/Usage.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

using TestSupport::RunProgram;

const std::string kSource = QUILLPOST_SOURCE_DIR;
const std::string kBuildDir = std::filesystem::path(QUILLPOST_BINARY).parent_path().string();

// The switches the program knows: its table, from which "--help" is printed.
std::set<std::string> SwitchesOfTheTable() {
  std::set<std::string> switches;
  for (const Quillpost::TSwitchSpec& spec : Quillpost::KnownSwitchTable())
    switches.insert(spec.Name);
  return switches;
}

// The words of a text that are written as switches ("/N", "--import",
// "/IniFile="), each standing alone: between blanks, quotes, brackets or
// asterisks.
std::set<std::string> SwitchWordsOf(const std::string& text) {
  std::set<std::string> words;
  const std::regex word(R"((?:^|[\s"'(*|])((?:/|--)[A-Za-z?][A-Za-z0-9-]*=?)(?=$|[\s"')*|\\]))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator();
       ++it)
    words.insert((*it)[1]);
  return words;
}

// Those words that name no switch of the table (letter case ignored, as the
// program ignores it).
std::set<std::string> UnknownSwitchWords(const std::string& text) {
  std::set<std::string> known;
  for (const auto& name : SwitchesOfTheTable())
    known.insert(Platform::AsciiLowerCase(name));
  std::set<std::string> unknown;
  for (const auto& word : SwitchWordsOf(text)) {
    if (known.count(Platform::AsciiLowerCase(word)) == 0)
      unknown.insert(word);
  }
  return unknown;
}

TEST(PackagingTest, ManualPageNamesEverySwitchTheProgramKnows) {
  const std::string page = TestSupport::ReadFile(kSource + "/docs/quillpost.1.scd");
  const std::set<std::string> switches = SwitchesOfTheTable();
  EXPECT_GE(switches.size(), 25u);
  const std::string synopsis = page.substr(0, page.find("# DESCRIPTION"));
  for (const auto& name : switches) {
    EXPECT_NE(page.find("*" + name), std::string::npos) << name;
    EXPECT_NE(synopsis.find("*" + name), std::string::npos) << "SYNOPSIS: " << name;
  }
  EXPECT_EQ(UnknownSwitchWords(synopsis), std::set<std::string>());
  for (const char* section : {"# SYNOPSIS", "# SETTINGS", "# EXIT STATUS", "# ENVIRONMENT",
                              "# FILES", "# EXAMPLES", "# OUTPUT"})
    EXPECT_NE(page.find(section), std::string::npos) << section;
}

TEST(PackagingTest, CompletionsOfferEverySwitchTheProgramKnows) {
  for (const char* file : {"quillpost.bash", "_quillpost", "quillpost.fish"}) {
    const std::string completion = TestSupport::ReadFile(kSource + "/completions/" + file);
    const std::set<std::string> offered = SwitchWordsOf(completion);
    for (const auto& name : SwitchesOfTheTable()) {
      if (name == "/h")  // the same as "/?"
        continue;
      EXPECT_EQ(offered.count(name), 1U) << file << ": " << name;
    }
    EXPECT_EQ(UnknownSwitchWords(completion), std::set<std::string>()) << file;
  }
}

// The help is printed from the table: every row that has a description.
TEST(PackagingTest, HelpDescribesEveryRowOfTheTable) {
  const auto help = TestSupport::RunQuillpost({"--help"});
  for (const Quillpost::TSwitchSpec& spec : Quillpost::KnownSwitchTable()) {
    for (const std::string& line : Quillpost::HelpLinesOf(spec))
      EXPECT_NE(help.Stdout.find(line + "\n"), std::string::npos) << line;
  }
  EXPECT_NE(help.Stdout.find("\n  /?, /h              short usage text\n"), std::string::npos);
}

TEST(PackagingTest, InstallPutsEachFileWhereItsToolLooks) {
  TestSupport::TempDir prefix;
  const auto install =
      RunProgram("/usr/bin/cmake", {"--install", kBuildDir, "--prefix", prefix.Path()});
  ASSERT_EQ(install.ExitCode, 0) << install.Stderr;
  for (const char* file :
       {"bin/quillpost", "share/man/man1/quillpost.1.gz",
        "share/bash-completion/completions/quillpost", "share/zsh/vendor-completions/_quillpost",
        "share/fish/vendor_completions.d/quillpost.fish",
        "share/doc/quillpost/quillpost.ini.example", "share/doc/quillpost/copyright"})
    EXPECT_TRUE(Platform::FileExists(prefix / file)) << file;
  EXPECT_EQ(RunProgram(prefix / "bin/quillpost", {"--version"}).Stdout, "Quillpost\nVer.1.0.0.0\n");
}

class CompletionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake.Folders = {{"F1", "Inbox"}, {"F2", "My Work"}, {"F3", "Plans", "F2"}};
    Fake.Install(Server);
    Server.Handle([inner = Server.Handler()](const TestSupport::RecordedRequest& request) {
      if (request.Target.starts_with("/tags"))
        return TestSupport::Reply::Json(
            R"({"items":[{"id":"T1","title":"work"},{"id":"T2","title":"home"}]})");
      return inner(request);
    });
  }
  TestSupport::ProgramOptions Options() const {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["QUILLPOST_URL"] = Server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.Env["PATH"] = kBuildDir + ":/usr/bin:/bin";
    options.Env["HOME"] = Dir.Path();
    options.WorkingDir = Dir.Path();
    return options;
  }
  // The bash completion's answer for the words, the last one being completed.
  std::string CompleteInBash(const std::string& words) {
    const std::string script = "source " + kSource + "/completions/quillpost.bash && COMP_WORDS=(" +
                               words +
                               ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _quillpost && "
                               "printf '%s\\n' \"${COMPREPLY[@]}\"";
    return RunProgram("/bin/bash", {"-c", script}, Options()).Stdout;
  }
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
  TestSupport::TempDir Dir;
};

TEST_F(CompletionTest, ListingCommands) {
  const auto notebooks = TestSupport::RunQuillpost({"--list-notebooks"}, Options());
  EXPECT_EQ(notebooks.Stdout, "Inbox\nMy Work\nMy Work/Plans\n");
  EXPECT_EQ(notebooks.ExitCode, 0);
  EXPECT_EQ(TestSupport::RunQuillpost({"--list-tags"}, Options()).Stdout, "home\nwork\n");
  TestSupport::ProgramOptions down = Options();
  down.Env["QUILLPOST_URL"] = "http://127.0.0.1:1";
  const auto failed = TestSupport::RunQuillpost({"--list-notebooks"}, down);
  EXPECT_EQ(failed.ExitCode, 3);
  EXPECT_EQ(failed.Stdout, "");
  EXPECT_TRUE(failed.Stderr.starts_with("quillpost: GET folders failed: ")) << failed.Stderr;
}

TEST_F(CompletionTest, BashCompletes) {
  EXPECT_EQ(RunProgram("/bin/bash", {"-c", "source " + kSource +
                                               "/completions/quillpost.bash && complete -p "
                                               "quillpost"})
                .Stdout,
            "complete -o filenames -F _quillpost quillpost\n");
  Dir.Write("notes.md", "x");
  Dir.Write("notes.txt", "y");
  const struct {
    std::string Words, Expected;
  } cases[] = {
      {"quillpost /N ''", "Inbox\nMy\\ Work\nMy\\ Work/Plans\n"},
      {"quillpost /n My", "My\\ Work\nMy\\ Work/Plans\n"},
      {"quillpost /T w", "work\n"},
      {"quillpost /TT home ''", "home\nwork\n"},
      {"quillpost /S notes.m", "notes.md\n"},
      {"quillpost /AA notes.md notes.t", "notes.txt\n"},
      {"quillpost /Ini", "/IniFile=\n"},
      {"quillpost /IniFile=notes.t", "/IniFile=notes.txt\n"},
      {"quillpost --list", "--list-notebooks\n--list-tags\n"},
      {"quillpost /I ''", "\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompleteInBash(c.Words), c.Expected) << c.Words;
}

// What each shell's completion offers after "quillpost /N ": the names of
// the listing command, and nothing at all when the listing fails.
TEST_F(CompletionTest, EveryShellOffersNothingWhenTheListingFails) {
  TestSupport::ProgramOptions noToken = Options();
  noToken.Env["QUILLPOST_TOKEN"] = "";
  noToken.Env["XDG_CONFIG_HOME"] = Dir.Path();
  const std::string zsh =
      "compadd() { [[ $1 == -a ]] && print -l -- ${(P)2} }; _files() {}; "
      "words=(quillpost /N ''); CURRENT=3; PREFIX=''; source " +
      kSource + "/completions/_quillpost";
  const std::string fish =
      "source " + kSource + "/completions/quillpost.fish; complete -C 'quillpost /N '";
  const std::string bash = "source " + kSource +
                           "/completions/quillpost.bash && COMP_WORDS=(quillpost /N '') && "
                           "COMP_CWORD=2 && _quillpost; printf '%s\\n' \"${COMPREPLY[@]}\"";
  const std::string listed = "Inbox\nMy Work\nMy Work/Plans\n";
  const struct {
    std::string Shell, Script, Expected;
  } shells[] = {{"/bin/bash", bash, "Inbox\nMy\\ Work\nMy\\ Work/Plans\n"},
                {"/usr/bin/zsh", zsh, listed},
                {"/usr/bin/fish", fish, listed}};
  for (const auto& shell : shells) {
    if (!Platform::FileExists(shell.Shell)) {
      if (Platform::GetEnv("QUILLPOST_REQUIRE_SHELLS") == "1")
        ADD_FAILURE() << shell.Shell << " is not installed";
      continue;
    }
    EXPECT_EQ(RunProgram(shell.Shell, {"-c", shell.Script}, Options()).Stdout, shell.Expected)
        << shell.Shell;
    const std::string offered = RunProgram(shell.Shell, {"-c", shell.Script}, noToken).Stdout;
    EXPECT_TRUE(offered == "" || offered == "\n") << shell.Shell << " offered: " << offered;
  }
}

TEST(ShellCompletionSyntaxTest, ZshAndFishAcceptTheirFiles) {
  for (const auto& [shell, file] :
       {std::pair<std::string, std::string>{"zsh", "_quillpost"}, {"fish", "quillpost.fish"}}) {
    const std::string path = "/usr/bin/" + shell;
    if (!Platform::FileExists(path)) {
      if (Platform::GetEnv("QUILLPOST_REQUIRE_SHELLS") == "1")
        ADD_FAILURE() << shell << " is not installed";
      continue;
    }
    const auto check = RunProgram(path, {"-n", kSource + "/completions/" + file});
    EXPECT_EQ(check.ExitCode, 0) << shell << ": " << check.Stderr;
  }
}

// As root, the package is installed for real and removed again.
TEST(DebianPackageTest, InstallsRunsAndGoesCleanly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the package is built from the normal build";
#endif
  if (::geteuid() != 0)
    GTEST_SKIP() << "installing a package needs root";
  TestSupport::TempDir out;
  const auto pack = RunProgram("/usr/bin/cpack", {"-G", "DEB", "-B", out.Path(), "--config",
                                                  kBuildDir + "/CPackConfig.cmake"});
  ASSERT_EQ(pack.ExitCode, 0) << pack.Stdout << pack.Stderr;
  const std::string deb = out / "quillpost_1.0.0_amd64.deb";
  ASSERT_TRUE(Platform::FileExists(deb)) << pack.Stdout;
  const auto fields = RunProgram("/usr/bin/dpkg-deb", {"-f", deb, "Depends"});
  EXPECT_NE(fields.Stdout.find("libcurl4"), std::string::npos) << fields.Stdout;
  const auto install = RunProgram("/usr/bin/dpkg", {"-i", deb});
  ASSERT_EQ(install.ExitCode, 0) << install.Stderr;
  EXPECT_EQ(RunProgram("/usr/bin/quillpost", {"--version"}).Stdout, "Quillpost\nVer.1.0.0.0\n");
  EXPECT_EQ(RunProgram("/usr/bin/man", {"-w", "quillpost"}).Stdout,
            "/usr/share/man/man1/quillpost.1.gz\n");
  const auto remove = RunProgram("/usr/bin/dpkg", {"-r", "quillpost"});
  EXPECT_EQ(remove.ExitCode, 0) << remove.Stderr;
  EXPECT_FALSE(Platform::FileExists("/usr/bin/quillpost"));
  EXPECT_FALSE(Platform::FileExists("/usr/share/man/man1/quillpost.1.gz"));
}

}  // namespace
