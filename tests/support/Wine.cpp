#include "support/Wine.hpp"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <map>

#include "Platform/Files/Files.hpp"

namespace TestSupport {
namespace {

const std::string kBuildDir = QUILLPOST_WINDOWS_BUILD_DIR;

std::string Exe() {
  return kBuildDir + "/quillpost.exe";
}

std::string HolderExe() {
  return kBuildDir + "/tests/hold_open.exe";
}

std::string WineBinary() {
  for (const char* path : {"/usr/bin/wine", "/usr/local/bin/wine"}) {
    if (Platform::FileExists(path))
      return path;
  }
  return {};
}

// Quoted for the shell's single quotes.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Wine's own prefix beside the build, and no debugging chatter.
std::map<std::string, std::string> WineEnvironment() {
  return {{"WINEPREFIX", kBuildDir + "/wine-prefix"}, {"WINEDEBUG", "-all"}};
}

ProgramOptions WithWine(ProgramOptions options) {
  for (const auto& [name, value] : WineEnvironment())
    options.Env[name] = value;
  return options;
}

// The same environment as assignments in front of a shell command.
std::string ShellWineEnvironment() {
  std::string assignments;
  for (const auto& [name, value] : WineEnvironment())
    assignments += name + "=" + ShellQuoted(value) + " ";
  return assignments;
}

}  // namespace

std::string WhyWineCannotRun() {
  if (!Platform::FileExists(Exe()))
    return "the Windows build is not there (./build-windows.sh makes it)";
  if (WineBinary().empty())
    return "Wine is not installed (./build-windows.sh installs it)";
  return {};
}

bool WineRequired() {
  return Platform::GetEnv("QUILLPOST_REQUIRE_WINE") == "1";
}

void KeepWineServerRunning() {
  if (!WhyWineCannotRun().empty())
    return;
  // The first program of a server session starts Wine's own services, which
  // live as long as the server and would hold a test's output pipes open
  // until then: they are started here, with no pipe to hold.
  const std::string env = ShellWineEnvironment();
  const std::string command = "{ " + env + "wineserver --persistent=60 && " + env +
                              ShellQuoted(WineBinary()) +
                              " cmd.exe /c exit; } </dev/null >/dev/null 2>&1";
  (void)std::system(command.c_str());
}

std::string WindowsExecutable() {
  return Exe();
}

ProgramResult RunUnderWine(const std::string& exe, const std::vector<std::string>& args,
                           const ProgramOptions& options) {
  std::vector<std::string> wineArgs = {exe};
  wineArgs.insert(wineArgs.end(), args.begin(), args.end());
  return RunProgram(WineBinary(), wineArgs, WithWine(options));
}

ProgramResult RunWindowsQuillpost(const std::vector<std::string>& args,
                                  const ProgramOptions& options) {
  return RunUnderWine(Exe(), args, options);
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

HeldOpenFile::HeldOpenFile(const std::string& linuxPath, const std::string& mode)
    : FPath(linuxPath) {
  const std::string command = ShellWineEnvironment() + ShellQuoted(WineBinary()) + " " +
                              ShellQuoted(HolderExe()) + " " + ShellQuoted(WindowsPath(linuxPath)) +
                              " " + mode + " </dev/null";
  FPipe = ::popen(command.c_str(), "r");
  std::array<char, 64> line{};
  FHeld = FPipe != nullptr && std::fgets(line.data(), line.size(), FPipe) != nullptr &&
          std::strncmp(line.data(), "held", 4) == 0;
}

HeldOpenFile::~HeldOpenFile() {
  if (FPipe == nullptr)
    return;
  // The holder lets go once this file appears.
  if (FILE* release = std::fopen((FPath + ".release").c_str(), "w"))
    std::fclose(release);
  ::pclose(FPipe);
  ::unlink((FPath + ".release").c_str());
}

}  // namespace TestSupport
