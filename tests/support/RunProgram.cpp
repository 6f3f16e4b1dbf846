#include "support/RunProgram.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace TestSupport {
namespace {

void ThrowIf(bool failed, const char* what) {
  if (failed)
    throw std::runtime_error(what);
}

// The child's words, made before the fork: between fork and exec the child
// of a process with threads may call nothing that allocates (another thread
// may have held the allocator's lock at the fork).
struct ChildWords {
  ChildWords(const std::string& program, const std::vector<std::string>& args,
             const ProgramOptions& options) {
    Args.push_back(program);
    Args.insert(Args.end(), args.begin(), args.end());
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      if (options.Env.count(text.substr(0, text.find('='))) == 0)
        Env.push_back(text);
    }
    for (const auto& [name, value] : options.Env)
      Env.push_back(name + "=" + value);
    for (auto& arg : Args)
      Argv.push_back(arg.data());
    Argv.push_back(nullptr);
    for (auto& entry : Env)
      Envp.push_back(entry.data());
    Envp.push_back(nullptr);
  }
  std::vector<std::string> Args, Env;
  std::vector<char*> Argv, Envp;
};

[[noreturn]] void ExecChild(const ChildWords& words, const ProgramOptions& options, int stdinFd,
                            int stdoutFd, int stderrFd) {
  if (options.CloseStdin) {
    ::close(STDIN_FILENO);
  } else {
    ::dup2(stdinFd, STDIN_FILENO);
  }
  ::dup2(stdoutFd, STDOUT_FILENO);
  ::dup2(stderrFd, STDERR_FILENO);
  if (!options.WorkingDir.empty() && ::chdir(options.WorkingDir.c_str()) != 0)
    ::_exit(126);
  // As a shell starts it: the test process ignores SIGPIPE, the program must not inherit that.
  ::signal(SIGPIPE, SIG_DFL);
  ::execve(words.Argv[0], words.Argv.data(), words.Envp.data());
  ::_exit(127);
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const ProgramOptions& options) {
  int in[2], out[2], err[2];
  ThrowIf(
      ::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0,
      "pipe failed");
  ::signal(SIGPIPE, SIG_IGN);
  const ChildWords words(program, args, options);
  const pid_t pid = ::fork();
  ThrowIf(pid < 0, "fork failed");
  if (pid == 0)
    ExecChild(words, options, in[0], out[1], err[1]);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  if (options.Started)
    options.Started(pid);
  bool outOpen = true, errOpen = true;
  if (options.StdoutReaderGone) {
    ::close(out[0]);
    outOpen = false;
  }

  ProgramResult result;
  size_t written = 0;
  int stdinFd = in[1];
  if (options.Stdin.empty()) {
    ::close(stdinFd);
    stdinFd = -1;
  }
  while (outOpen || errOpen) {
    pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0},
                     {errOpen ? err[0] : -1, POLLIN, 0},
                     {stdinFd, POLLOUT, 0}};
    ::poll(fds, stdinFd >= 0 ? 3 : 2, 1000);
    char buffer[65536];
    auto drain = [&](int fd, bool& open, std::string& sink, short revents) {
      if (!open || !(revents & (POLLIN | POLLHUP | POLLERR)))
        return;
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n > 0) {
        sink.append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        open = false;
      }
    };
    drain(out[0], outOpen, result.Stdout, fds[0].revents);
    drain(err[0], errOpen, result.Stderr, fds[1].revents);
    if (stdinFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n =
          ::write(stdinFd, options.Stdin.data() + written, options.Stdin.size() - written);
      if (n > 0)
        written += static_cast<size_t>(n);
      if (n < 0 || written == options.Stdin.size()) {
        ::close(stdinFd);
        stdinFd = -1;
      }
    }
  }
  if (stdinFd >= 0)
    ::close(stdinFd);
  if (!options.StdoutReaderGone)
    ::close(out[0]);
  ::close(err[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

ProgramResult RunQuillpost(const std::vector<std::string>& args, const ProgramOptions& options) {
  return RunProgram(QUILLPOST_BINARY, args, options);
}

}  // namespace TestSupport
