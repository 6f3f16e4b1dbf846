#pragma once
// Runs a program as a user would: arguments, bytes on standard input, extra
// environment variables and a working directory; captures standard output and
// standard error apart, and the exit code.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace TestSupport {

struct ProgramResult {
  int ExitCode = -1;
  std::string Stdout;
  std::string Stderr;
};

struct ProgramOptions {
  std::string Stdin;
  bool CloseStdin = false;                 // no standard input at all
  bool StdoutReaderGone = false;           // standard output a pipe nobody reads (| head -0)
  std::map<std::string, std::string> Env;  // added to (or replacing in) the environment
  std::string WorkingDir;
  std::function<void(int pid)> Started;  // told the child's process id once it runs
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const ProgramOptions& options = {});

// The built quillpost binary.
ProgramResult RunQuillpost(const std::vector<std::string>& args,
                           const ProgramOptions& options = {});

}  // namespace TestSupport
