// Where the URL and the token come from: a table of sources with a temporary
// HOME and XDG_CONFIG_HOME, and the search for a local Data API.
#include "Quillpost/Settings/Settings.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <thread>

#include "JoplinRestUtils/Http/ServerDiscovery.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Http/ListenerOwner.hpp"
#include "support/PrivateNetwork.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"
#include "support/TestHttpServer.hpp"

namespace Quillpost {
namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (!FSaved.count(name)) {
      const char* old = std::getenv(name.c_str());
      FSaved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : FSaved) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> FSaved;
};

// What each source holds; an empty text: the source is not there.
struct SourcesCase {
  const char* Name;
  std::string IniFile;  // given with "/IniFile="
  std::string EnvUrl, EnvToken;
  std::string DefaultFile;                     // $XDG_CONFIG_HOME/quillpost/quillpost.ini
  std::string Desktop;                         // ~/.config/joplin-desktop/settings.json
  std::string Terminal;                        // ~/.config/joplin/settings.json
  std::string Profile;                         // settings.json of the "/Profile=" folder
  std::string Url, UrlFrom, Token, TokenFrom;  // expected; From: ini, env, default, ...
  friend void PrintTo(const SourcesCase& c, std::ostream* out) { *out << c.Name; }
};

class SettingsSourcesTest : public ::testing::TestWithParam<SourcesCase> {
 protected:
  std::string SourceName(const std::string& label) const {
    if (label == "ini")
      return "the settings file \"" + Dir / "given.ini" + "\"";
    if (label == "env")
      return "the environment (QUILLPOST_URL, QUILLPOST_TOKEN)";
    if (label == "default")
      return "the settings file \"" + Dir / "xdg/quillpost/quillpost.ini" + "\"";
    if (label == "desktop")
      return "the Joplin profile \"" + Dir / "home/.config/joplin-desktop/settings.json" + "\"";
    if (label == "terminal")
      return "the Joplin profile \"" + Dir / "home/.config/joplin/settings.json" + "\"";
    if (label == "profile")
      return "the Joplin profile \"" + Dir / "other/settings.json" + "\"";
    return label;
  }
  TestSupport::TempDir Dir;
  ScopedEnv Env;
};

TEST_P(SettingsSourcesTest, FirstSourceWithAValueWinsForEach) {
  const SourcesCase& c = GetParam();
  Env.Set("HOME", Dir / "home");
  Env.Set("XDG_CONFIG_HOME", Dir / "xdg");
  Env.Set("QUILLPOST_URL", c.EnvUrl.empty() ? std::nullopt : std::optional(c.EnvUrl));
  Env.Set("QUILLPOST_TOKEN", c.EnvToken.empty() ? std::nullopt : std::optional(c.EnvToken));
  const auto writeIf = [this](const std::string& name, const std::string& content) {
    if (!content.empty())
      Dir.Write(name, content);
  };
  writeIf("given.ini", c.IniFile);
  writeIf("xdg/quillpost/quillpost.ini", c.DefaultFile);
  writeIf("home/.config/joplin-desktop/settings.json", c.Desktop);
  writeIf("home/.config/joplin/settings.json", c.Terminal);
  writeIf("other/settings.json", c.Profile);

  const TSettings settings = FindSettings(c.IniFile.empty() ? "" : Dir / "given.ini",
                                          c.Profile.empty() ? "" : Dir / "other");
  EXPECT_EQ(settings.Url.Value, c.Url);
  EXPECT_EQ(settings.Url.Source, c.Url.empty() ? "" : SourceName(c.UrlFrom));
  EXPECT_EQ(settings.Token.Value, c.Token);
  EXPECT_EQ(settings.Token.Source, c.Token.empty() ? "" : SourceName(c.TokenFrom));
}

const std::string kIni = "[Host]\nURL=http://ini:1\nToken=ini-token\n";
const std::string kDefault = "[Host]\nURL=http://default:3\nToken=default-token\n";
const std::string kDesktop = R"({"api.token":"desktop-token","api.port":41185})";
const std::string kTerminal = R"({"api.token":"terminal-token","api.port":41186})";
const std::string kProfile = R"({"api.token":"profile-token","api.port":41187})";

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSourcesTest,
    ::testing::Values(
        SourcesCase{"Nothing", "", "", "", "", "", "", "", "", "", "", ""},
        SourcesCase{"IniFileAlone", kIni, "", "", "", "", "", "", "http://ini:1", "ini",
                    "ini-token", "ini"},
        SourcesCase{"EnvironmentAlone", "", "http://env:2", "env-token", "", "", "", "",
                    "http://env:2", "env", "env-token", "env"},
        SourcesCase{"DefaultFileAlone", "", "", "", kDefault, "", "", "", "http://default:3",
                    "default", "default-token", "default"},
        SourcesCase{"DesktopProfileAlone", "", "", "", "", kDesktop, "", "",
                    "http://127.0.0.1:41185", "desktop", "desktop-token", "desktop"},
        SourcesCase{"TerminalProfileAlone", "", "", "", "", "", kTerminal, "",
                    "http://127.0.0.1:41186", "terminal", "terminal-token", "terminal"},
        SourcesCase{"IniFileBeforeEnvironment", kIni, "http://env:2", "env-token", "", "", "", "",
                    "http://ini:1", "ini", "ini-token", "ini"},
        SourcesCase{"EnvironmentBeforeDefaultFile", "", "http://env:2", "env-token", kDefault, "",
                    "", "", "http://env:2", "env", "env-token", "env"},
        SourcesCase{"DefaultFileBeforeProfiles", "", "", "", kDefault, kDesktop, kTerminal, "",
                    "http://default:3", "default", "default-token", "default"},
        SourcesCase{"DesktopBeforeTerminal", "", "", "", "", kDesktop, kTerminal, "",
                    "http://127.0.0.1:41185", "desktop", "desktop-token", "desktop"},
        SourcesCase{"EachValueFromItsOwnSource", "[Host]\nToken=ini-token\n", "http://env:2", "",
                    "", "", "", "", "http://env:2", "env", "ini-token", "ini"},
        SourcesCase{"EmptyValuesAreNone", "[Host]\nURL=\nToken=\n", "", "env-token", "", "",
                    R"({"api.token":"","api.port":41186})", "", "http://127.0.0.1:41186",
                    "terminal", "env-token", "env"},
        SourcesCase{"IniFileSwitchSkipsTheDefaultFile", "[Host]\nURL=http://ini:1\n", "", "",
                    kDefault, "", kTerminal, "", "http://ini:1", "ini", "terminal-token",
                    "terminal"},
        SourcesCase{"ProfileSwitchReplacesTheDefaultProfiles", "", "", "", "", kDesktop, "",
                    kProfile, "http://127.0.0.1:41187", "profile", "profile-token", "profile"},
        SourcesCase{"BrokenSettingsJsonIsSkipped", "", "", "", "", "{\"api.token\":", kTerminal, "",
                    "http://127.0.0.1:41186", "terminal", "terminal-token", "terminal"},
        SourcesCase{"BinarySettingsJsonIsSkipped", "", "", "", "", std::string("\x89PNG\0\x01", 6),
                    kTerminal, "", "http://127.0.0.1:41186", "terminal", "terminal-token",
                    "terminal"},
        SourcesCase{"WrongKindsAreSkipped", "", "", "", "", "", R"({"api.token":7,"api.port":"x"})",
                    "", "", "", "", ""},
        SourcesCase{"PortOutOfRange", "", "", "", "", "",
                    R"({"api.token":"terminal-token","api.port":70000})", "", "", "",
                    "terminal-token", "terminal"},
        SourcesCase{"PortThatIsNoWholeNumber", "", "", "", "", "",
                    R"({"api.token":"terminal-token","api.port":41184.5})", "", "", "",
                    "terminal-token", "terminal"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(SettingsFilesTest, HugeProfileFileIsSkipped) {
  TestSupport::TempDir dir;
  std::string huge = R"({"api.token":"t","pad":")" + std::string(2 * 1024 * 1024, 'x') + "\"}";
  dir.Write("p/settings.json", huge);
  ScopedEnv env;
  env.Set("QUILLPOST_URL", std::nullopt);
  env.Set("QUILLPOST_TOKEN", std::nullopt);
  env.Set("XDG_CONFIG_HOME", dir / "xdg");
  EXPECT_EQ(FindSettings("", dir / "p").Token.Value, "");
}

// A program of the user "nobody" listening on `port` for a few seconds,
// answering /ping as Joplin does and printing each request line it gets.
class ListenerOfNobody {
 public:
  static std::string WhyNot() {
    if (::getuid() != 0 || !Platform::FileExists("/usr/bin/setpriv") ||
        !Platform::FileExists("/usr/bin/node"))
      return "needs root, setpriv and node to listen as the user nobody";
    return {};
  }
  // Returns once the port is listened on (or a few seconds have passed).
  explicit ListenerOfNobody(int port) {
    const std::string listener =
        "const s = require('http').createServer((q, a) => { console.log(q.method + ' ' + q.url); "
        "a.end('JoplinClipperServer'); }); s.listen(" +
        std::to_string(port) + ", '127.0.0.1'); setTimeout(() => process.exit(0), 4000);";
    FThread = std::thread([this, listener] {
      FSeen = TestSupport::RunProgram(
          "/usr/bin/setpriv",
          {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "/usr/bin/node", "-e", listener});
    });
    for (int i = 0;
         i < 60 && Platform::LoopbackListenerOwner(port) == Platform::ListenerOwner::Nobody; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ~ListenerOfNobody() {
    if (FThread.joinable())
      FThread.join();
  }
  // What it printed, once it has ended.
  const TestSupport::ProgramResult& Seen() {
    FThread.join();
    return FSeen;
  }

 private:
  TestSupport::ProgramResult FSeen;
  std::thread FThread;
};

// The scan as the run does it, over ports the test owns: a listener of this
// user's that answers like Joplin is taken; one that answers otherwise is not.
TEST(SettleServerUrlTest, OwnListenerThatAnswersLikeJoplinIsTaken) {
  TestSupport::TestHttpServer other, joplin;
  other.Handle([](const auto&) { return TestSupport::Reply::Json("Hello from nginx"); });
  joplin.Handle([](const auto&) { return TestSupport::Reply::Json("JoplinClipperServer"); });
  TSettings found;
  SettleServerUrl(found, {joplin.Port(), joplin.Port()});
  EXPECT_EQ(found.Url.Value, joplin.BaseUrl());
  TSettings none;
  SettleServerUrl(none, {other.Port(), other.Port()});
  EXPECT_EQ(none.Url.Value, kDefaultServerUrl);
  const std::string port = std::to_string(other.Port());
  EXPECT_EQ(none.Url.Source,
            "the default (no Joplin Data API answered on ports " + port + " to " + port + ")");
  TSettings given;
  given.Url.Value = "http://example.invalid";
  SettleServerUrl(given, {joplin.Port(), joplin.Port()});
  EXPECT_EQ(given.Url.Value, "http://example.invalid");
  EXPECT_EQ(joplin.Requests().size(), 1U);
}

// Another user's program answering /ping as Joplin does is skipped, and with
// nothing of this user's there, no URL is settled: the token goes nowhere.
TEST(SettleServerUrlTest, ListenerOfAnotherUserIsNotTrusted) {
  if (const std::string why = ListenerOfNobody::WhyNot(); !why.empty())
    GTEST_SKIP() << why;
  int port = 0;
  {
    const TestSupport::TestHttpServer probe;  // a port free a moment ago
    port = probe.Port();
  }
  ListenerOfNobody stranger(port);
  EXPECT_EQ(Platform::LoopbackListenerOwner(port), Platform::ListenerOwner::OtherUser);
  TSettings settings;
  testing::internal::CaptureStderr();
  EXPECT_THROW(SettleServerUrl(settings, {port, port}), EUntrustedServer);
  const std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("skipping port " + std::to_string(port) +
                          ": the program listening there belongs to another user"),
            std::string::npos)
      << warnings;
  EXPECT_TRUE(settings.Url.Value.empty());
  EXPECT_NE(stranger.Seen().Stdout.find("GET /ping"), std::string::npos);
}

// The tests below scan the Data API's own ports: they run in a private
// network namespace of their own (see tests/support/private-network.sh),
// where no other program listens, and are skipped where none can be had.
// Joplin's clients look for the Data API on ports 41184 to 41194 in order;
// a port that answers something else is passed over.
TEST(ServerDiscoveryTest, FirstPortThatAnswersLikeJoplin) {
  if (const std::string why = TestSupport::WhyNoPrivateNetwork(); !why.empty())
    GTEST_SKIP() << why;
  constexpr int kFirst = JoplinRestUtils::kLastDataApiPort - 3;
  std::unique_ptr<TestSupport::TestHttpServer> other, joplin;
  try {
    other = std::make_unique<TestSupport::TestHttpServer>(kFirst + 1);
    joplin = std::make_unique<TestSupport::TestHttpServer>(kFirst + 2);
  } catch (const std::exception&) {
    GTEST_SKIP() << "ports of the Data API range are taken on this machine";
  }
  other->Handle([](const auto&) { return TestSupport::Reply::Json("Hello from nginx"); });
  joplin->Handle([](const auto&) { return TestSupport::Reply::Json("JoplinClipperServer"); });
  EXPECT_EQ(JoplinRestUtils::FindLocalDataApi(kFirst, JoplinRestUtils::kLastDataApiPort),
            "http://127.0.0.1:" + std::to_string(kFirst + 2));
  EXPECT_EQ(JoplinRestUtils::FindLocalDataApi(kFirst, kFirst + 1), std::nullopt);
}

// Another user's program on the Data API's first port, answering /ping as
// Joplin does: a run with the token of the user's Joplin profile skips it
// and sends the token nowhere. It sees the ping and nothing else.
TEST(ServerDiscoveryTest, ListenerOfAnotherUserGetsNoToken) {
  if (const std::string why = TestSupport::WhyNoPrivateNetwork(); !why.empty())
    GTEST_SKIP() << why;
  if (const std::string why = ListenerOfNobody::WhyNot(); !why.empty())
    GTEST_SKIP() << why;
  const int port = JoplinRestUtils::kFirstDataApiPort;
  ListenerOfNobody stranger(port);
  EXPECT_EQ(Platform::LoopbackListenerOwner(port), Platform::ListenerOwner::OtherUser);

  TestSupport::TempDir home;
  home.Write(".config/joplin-desktop/settings.json", R"({"api.token": "REAL-TOKEN"})");
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["HOME"] = home.Path();
  options.Env["XDG_CONFIG_HOME"] = home / ".config";
  options.Env["QUILLPOST_URL"] = "";
  options.Env["QUILLPOST_TOKEN"] = "";
  const auto result = TestSupport::RunQuillpost({"/SN"}, options);
  const TestSupport::ProgramResult& seen = stranger.Seen();
  EXPECT_NE(result.Stderr.find("skipping port " + std::to_string(port) +
                               ": the program listening there belongs to another user"),
            std::string::npos)
      << result.Stderr;
  EXPECT_TRUE(result.Stdout.starts_with("EUntrustedServer: ")) << result.Stdout;
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(seen.Stdout.find("token"), std::string::npos) << seen.Stdout;
  EXPECT_NE(seen.Stdout.find("GET /ping"), std::string::npos) << seen.Stdout << seen.Stderr;
}

}  // namespace
}  // namespace Quillpost
